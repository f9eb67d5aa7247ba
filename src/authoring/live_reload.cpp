#include "authoring/live_reload.h"

#include "app/runtime.h"
#include "engine/game.h"
#include "platform/element.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <set>

namespace authoring {

LiveReload::LiveReload(app::Runtime& rt) : m_rt(rt)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    QObject::connect(&m_settle, &QTimer::timeout, &m_watcher, [this] { reload(); });
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_watcher, [this](const QString& path) { changed(path); });
    // The frame asked for: one that failed to open has no current name, and
    // its files are the ones to mend.
    m_rt.onFrameOpened = [this](const QString& frame) { watch(frame); };
}

LiveReload::~LiveReload()
{
    m_rt.onFrameOpened = nullptr;
}

QStringList LiveReload::watched() const
{
    QStringList files = m_watcher.files();
    files.sort();
    return files;
}

void LiveReload::watch(const QString& frame)
{
    m_frame = frame;
    if (const QStringList old = m_watcher.files(); !old.isEmpty())
        m_watcher.removePaths(old);
    if (frame.isEmpty())
        return;
    std::set<QString> files;
    const auto add = [&](const QString& path) {
        if (const auto real = m_rt.files.resolve(path); real && std::filesystem::is_regular_file(*real))
            files.insert(QString::fromStdString(real->string()));
    };
    // The frame's own files share its name: Hall.fme, Hall.lks, Hall.chn.
    const run::Project& p = m_rt.project;
    if (const auto framesFolder = m_rt.files.resolve(p.FramesPath)) {
        const QDir frames(QString::fromStdString(framesFolder->string()));
        for (const QString& name : frames.entryList(QDir::Files)) {
            if (name.section(u'.', 0, 0).compare(frame, Qt::CaseInsensitive) == 0)
                files.insert(frames.filePath(name));
        }
    }
    if (const auto areasFolder = m_rt.files.resolve(p.AreasPath + frame)) {
        const QDir areas(QString::fromStdString(areasFolder->string()));
        for (const QString& name : areas.entryList(QDir::Files))
            files.insert(areas.filePath(name));
    }
    if (engine::Game* game = m_rt.gameIfLoaded()) {
        for (const auto& [name, element] : game->window().elements()) {
            if (!element->pictureFile().isEmpty())
                add(element->pictureFile());
        }
    }
    if (!files.empty())
        m_watcher.addPaths(QStringList(files.begin(), files.end()));
}

void LiveReload::changed(const QString& path)
{
    const QString file = QDir(m_rt.project.ProjectPath).relativeFilePath(path);
    if (!m_changed.contains(file))
        m_changed << file;
    // An editor that saves by writing a new file and renaming it over the
    // old one leaves the watch on a file that is gone: the path is watched
    // again, as soon as it exists, by the frame's opening.
    m_settle.start();
}

void LiveReload::reload()
{
    engine::Game* game = m_rt.gameIfLoaded();
    if (!game || !game->visible() || m_frame.isEmpty() || m_rt.ended()) {
        m_changed.clear();
        return;
    }
    m_rt.notices.tell(QStringLiteral("opens the frame %1 again: %2 changed").arg(m_frame, m_changed.join(QStringLiteral(", "))));
    m_changed.clear();
    // Opening the frame watches its files anew, those of a broken open too.
    game->OpenFrame(m_frame);
}

} // namespace authoring
