#pragma once

#include "platform/input_observer.h"

#include <QFile>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <optional>

namespace app {
class Runtime;
}
namespace platform {
class Element;
}

namespace authoring {

// Writes a play-through as a script of the scripted-play language, so that
// playing it headless reaches the same state: presses become click, drag or
// click-at lines, keys key lines, menu items and dialog controls click, type
// and select lines by name, pointer moves onto another element move lines;
// the player's clock gives the wait lines between them, and the answers of
// message boxes come as answer lines before the input that raised them. The
// script ends with an expect line of the state the run ended in, so that a
// replay that goes astray fails.
class Recorder : public platform::InputObserver {
public:
    // How the script ends: with one expect line of the whole state, or
    // with expect lines in words (frame, inventory, variables set, removed
    // areas, music), a test an author reads and edits.
    enum class Ending { StateLine, Expectations };

    // Watches the runtime's windows from now on and writes to the file.
    Recorder(app::Runtime& rt, const QString& file, Ending ending = Ending::StateLine);
    // Finishes the script unless finish() did.
    ~Recorder() override;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    bool isOpen() const { return m_file.isOpen(); }
    // Why the file could not be opened or written.
    QString errorString() const { return m_error.isEmpty() ? m_file.errorString() : m_error; }

    // Writes what is pending, the time since the last input and the state
    // the run ends in, and closes the file; false when any line of the
    // script could not be written (errorString() says why). Input after it
    // is not recorded.
    bool finish();

    void pointerInput(platform::SceneWindow& window, QEvent::Type type, Qt::MouseButton button, QPointF scenePos) override;
    void keyInput(platform::SceneWindow& window, int key, Qt::KeyboardModifiers modifiers) override;
    void dialogInput(platform::FormWindow& window, const QString& verb, const QString& control, const QString& text) override;
    void menuInput(const QString& item) override;
    void inputEnds() override;
    void answered(const platform::MsgBox& box, platform::MsgAnswer answer) override;

private:
    // One input, written once the next one begins (a double click or a
    // drag still changes it until then).
    struct Entry {
        qint64 wait = 0;
        QString line;
        QStringList answersDuring;
        QStringList answersAfter;
        bool ended = false;
        // A press: where it went and with which button.
        platform::SceneWindow* window = nullptr;
        QString pressed;
        QPointF pressAt;
        Qt::MouseButton button = Qt::NoButton;
        bool dialogTyping = false;
        QString typingControl;
    };

    void begin(QString line);
    void listen(bool listening);
    void flush();
    void write(const QString& line);
    qint64 now() const;
    // The element that takes the pointer at a point of a window's scene.
    static platform::Element* elementAt(platform::SceneWindow& window, QPointF scenePos);
    // The line that presses what a press at that point pressed.
    QString clickLine(platform::SceneWindow& window, QPointF scenePos, Qt::MouseButton button, bool twice) const;

    app::Runtime& m_rt;
    QFile m_file;
    Ending m_ending;
    std::optional<Entry> m_entry;
    // The clock up to which the script written so far accounts for the
    // time: by its waits, or by the handlers of its inputs, whose own time
    // passes again when it is played.
    qint64 m_mark = 0;
    // The element the pointer was last moved onto, per window.
    QString m_hovered;
    bool m_ignoreEnd = false;
    // The first failure to write the file; the run goes on, and its end
    // reports it.
    QString m_error;
};

} // namespace authoring
