#pragma once

#include <QJsonObject>
#include <QString>
#include <QPointF>
#include <QRectF>
#include <QStringList>

#include <functional>
#include <optional>

class QTextStream;

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

    // The lines of a script, one at a time; nullopt at its end. A script
    // read from a file is read as it plays, so a run of any length holds
    // steady in memory.
    using LineSource = std::function<std::optional<QString>()>;
    static LineSource linesOf(const QStringList& lines);
    static LineSource linesOf(QTextStream& stream);

    // Queues the answers that open a script (answer lines before any other
    // line), so that the message boxes of the start-up take them; run()
    // then goes on after them.
    void queueStartUpAnswers(const LineSource& source);
    // Runs every line; stops at the first bad line or when the program ends.
    // Returns false after a bad line (reported as an "error" line).
    bool run(const LineSource& source);
    bool run(const QStringList& lines) { return run(linesOf(lines)); }
    bool runLine(const QString& line);
    // Whether the first expectation that does not hold ends the run (its
    // fail line is the last line), instead of the script going on.
    void setStopOnFail(bool stop) { m_stopOnFail = stop; }

    // The window that takes keys: an open dialog, else the top-most visible one.
    platform::SceneWindow* activeWindow() const;
    platform::FormWindow* openDialog() const;

    // The part of an element that can be seen, in scene pixels: its own
    // rectangle cut by every container it sits in and by the window. A
    // click line presses the middle of it.
    static QRectF visiblePart(const platform::Element& e);
    QString activeWindowName() const;

private:
    struct Target {
        platform::SceneWindow* window = nullptr;
        platform::Element* element = nullptr;
    };
    Target find(const QString& name) const;
    void error(const QString& text);
    bool click(const QString& name, const QString& how);
    // An item of the player's menu (F10) while it is open: PlayerMenu.Resume.
    bool clickPlayerMenu(const QString& name);
    bool clickMenu(const QString& name);
    bool clickAt(int x, int y, bool right);
    bool move(const QString& name);
    bool moveAt(int x, int y);
    bool drag(const QString& from, const QString& to);
    bool key(const QString& name);
    bool shot(const QString& file);
    // The line "expect JSON": the state holds what the object names.
    bool expect(const QJsonObject& expected);
    // The lines "expect frame NAME", "expect variable NAME VALUE" and the
    // others in words: a state that differs is a "fail" line, and the
    // script goes on; false only for a line that names no expectation.
    bool expectWords(const QStringList& words);
    void fail(const QString& expected, const QString& found);
    bool dialogAction(const QString& verb, const QString& name, const QString& argument);
    void sendClick(platform::SceneWindow& window, QPointF scenePos, Qt::MouseButton button, bool dbl);
    // After each line of the run's own loop: the events it posted run and
    // what it unloaded is freed.
    void betweenLines();

    app::Runtime& m_rt;
    QString m_shotsDir;
    std::optional<QString> nextLine(const LineSource& source);

    int m_lineNumber = 0;
    // A line read ahead by queueStartUpAnswers, for run() to play.
    std::optional<QString> m_pending;
    // run() goes on with the script whose start-up answers were queued.
    bool m_continuing = false;
    // A line failed: the run stops, also from inside a wait.
    bool m_failed = false;
    // An expectation in words did not hold: the run ends as a failure.
    bool m_expectationFailed = false;
    bool m_stopOnFail = false;
};

} // namespace automation
