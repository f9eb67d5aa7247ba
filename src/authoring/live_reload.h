#pragma once

#include <QFileSystemWatcher>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace app {
class Runtime;
}

namespace authoring {

// For game authors (--debug): keeps the frame on screen in step with its
// files. It watches, through the system's file notifications, the files the
// frame is made of: its own files in the frames folder (record, links,
// channels, picture), everything in its areas folder (area records,
// conditions, actions, texts) and the pictures its elements show. A change
// opens the frame again in place, the game's state kept (variables, removed
// areas, inventory, history), and a notice says what changed. Writes come
// in bursts (an editor truncates, writes, renames): the frame opens once
// they have settled.
class LiveReload {
public:
    // How long the files must stay quiet before the frame opens again.
    static constexpr int kSettleMs = 50;

    explicit LiveReload(app::Runtime& rt);
    ~LiveReload();
    LiveReload(const LiveReload&) = delete;
    LiveReload& operator=(const LiveReload&) = delete;

    // The files watched now, in order.
    QStringList watched() const;

private:
    void watch(const QString& frame);
    void changed(const QString& path);
    void reload();

    app::Runtime& m_rt;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_frame;
    // The files changed since the frame last opened, relative to the game.
    QStringList m_changed;
};

} // namespace authoring
