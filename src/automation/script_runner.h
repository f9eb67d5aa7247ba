#pragma once

#include <QString>
#include <QPointF>
#include <QStringList>

namespace app {
class Runtime;
}
namespace platform {
class Element;
class FormWindow;
class SceneWindow;
}

namespace automation {

// Plays a script of input lines against a running player (see the README's
// "Scripted play"): clicks, keys, answers for message boxes, waits on the
// virtual clock, dumps and screenshots. Input reaches the windows as the same
// Qt events a person's mouse and keyboard would send.
class ScriptRunner {
public:
    ScriptRunner(app::Runtime& rt, QString shotsDir);

    // Queues the answers that open a script (answer lines before any other
    // line), so that the message boxes of the start-up take them; run()
    // then starts after them.
    void queueStartUpAnswers(const QStringList& lines);
    // Runs every line; stops at the first bad line or when the program ends.
    // Returns false after a bad line (reported as an "error" line).
    bool run(const QStringList& lines);
    bool runLine(const QString& line);

    // The window that takes keys: an open dialog, else the top-most visible one.
    platform::SceneWindow* activeWindow() const;
    platform::FormWindow* openDialog() const;
    QString activeWindowName() const;

private:
    struct Target {
        platform::SceneWindow* window = nullptr;
        platform::Element* element = nullptr;
    };
    Target find(const QString& name) const;
    void error(const QString& text);
    bool click(const QString& name, const QString& how);
    bool clickMenu(const QString& name);
    bool clickAt(int x, int y, bool right);
    bool move(const QString& name);
    bool moveAt(int x, int y);
    bool drag(const QString& from, const QString& to);
    bool key(const QString& name);
    bool shot(const QString& file);
    bool dialogAction(const QString& verb, const QString& name, const QString& argument);
    void sendClick(platform::SceneWindow& window, QPointF scenePos, Qt::MouseButton button, bool dbl);

    app::Runtime& m_rt;
    QString m_shotsDir;
    int m_lineNumber = 0;
    // Lines already played before run(): the start-up answers.
    int m_linesDone = 0;
};

} // namespace automation
