#include "authoring/recorder.h"

#include "app/runtime.h"
#include "automation/script_runner.h"
#include "automation/state_check.h"
#include "automation/state_dump.h"
#include "platform/element.h"
#include "platform/form_window.h"
#include "platform/scene_window.h"

#include <QGraphicsScene>
#include <QJsonDocument>

#include <cmath>

namespace authoring {

Recorder::Recorder(app::Runtime& rt, const QString& file, Ending ending) : m_rt(rt), m_file(file), m_ending(ending)
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return;
    m_mark = now();
    m_rt.setInputObserver(this);
    m_rt.clock().onListening = [this](bool listening) { listen(listening); };
}

Recorder::~Recorder()
{
    finish();
}

bool Recorder::finish()
{
    if (!m_file.isOpen())
        return m_error.isEmpty();
    m_rt.setInputObserver(nullptr);
    m_rt.clock().onListening = nullptr;
    flush();
    // The time after the last input: timers that fall due in it change the
    // state the play-through ends in.
    if (const qint64 rest = now() - m_mark; rest > 0)
        write(QStringLiteral("wait %1").arg(rest));
    const QJsonObject state = automation::StateDump(m_rt, QString());
    if (m_ending == Ending::Expectations) {
        for (const QString& line : automation::EndExpectations(state))
            write(line);
    } else {
        write(QStringLiteral("expect ") + QString::fromUtf8(QJsonDocument(automation::EndState(state)).toJson(QJsonDocument::Compact)));
    }
    m_file.close();
    if (m_error.isEmpty() && m_file.error() != QFileDevice::NoError)
        m_error = m_file.errorString();
    return m_error.isEmpty();
}

qint64 Recorder::now() const
{
    return m_rt.clock().elapsedMs();
}

void Recorder::write(const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    // Flushed line by line: a run that ends abruptly keeps its script so far.
    if ((m_file.write(bytes) != bytes.size() || !m_file.flush()) && m_error.isEmpty())
        m_error = m_file.errorString();
}

void Recorder::flush()
{
    if (!m_entry)
        return;
    const Entry e = std::move(*m_entry);
    m_entry.reset();
    if (e.line.isEmpty())
        return;
    if (e.wait > 0)
        write(QStringLiteral("wait %1").arg(e.wait));
    for (const QString& answer : e.answersDuring)
        write(answer);
    write(e.line);
    for (const QString& answer : e.answersAfter)
        write(answer);
}

void Recorder::begin(QString line)
{
    flush();
    const qint64 at = now();
    Entry e;
    e.wait = std::max<qint64>(0, at - m_mark);
    e.line = std::move(line);
    m_entry = std::move(e);
    m_mark = at;
    m_ignoreEnd = false;
}

void Recorder::inputEnds()
{
    if (m_ignoreEnd) {
        m_ignoreEnd = false;
        return;
    }
    // The handlers' own time passes again when the input is played.
    m_mark = now();
    if (m_entry && m_entry->button == Qt::NoButton)
        m_entry->ended = true;
}

void Recorder::listen(bool listening)
{
    // While the program listens (a video plays), the time is the player's:
    // a wait at this point of the script, where a played script's next line
    // runs inside the same wait. Before it listens, the handlers of an input
    // ran, whose time passes again when it is played; with no input being
    // handled, a timer's handler listens, and the time until then was the
    // player's wait for that timer.
    const bool handling = m_entry && !m_entry->ended;
    if (listening && handling) {
        m_mark = now();
        return;
    }
    if (const qint64 waited = now() - m_mark; waited > 0) {
        flush();
        write(QStringLiteral("wait %1").arg(waited));
        m_mark = now();
    }
}

void Recorder::answered(const platform::MsgBox&, platform::MsgAnswer answer)
{
    const QString line = QStringLiteral("answer ") + platform::Dialogs::answerName(answer);
    // A box raised while an input is handled is answered by the line before
    // that input; one raised later (a timer) by a line where it is now.
    if (m_entry && !m_entry->ended) {
        m_entry->answersDuring << line;
        return;
    }
    if (m_entry) {
        m_entry->answersAfter << line;
        return;
    }
    write(line);
}

platform::Element* Recorder::elementAt(platform::SceneWindow& window, QPointF scenePos)
{
    for (QGraphicsItem* item : window.scene().items(scenePos, Qt::IntersectsItemShape, Qt::DescendingOrder)) {
        auto* element = dynamic_cast<platform::Element*>(item);
        if (element && element->acceptedMouseButtons() != Qt::NoButton && element->isVisible())
            return element;
    }
    return nullptr;
}

QString Recorder::clickLine(platform::SceneWindow& window, QPointF scenePos, Qt::MouseButton button, bool twice) const
{
    const QString how = twice ? QStringLiteral(" double") : button == Qt::RightButton ? QStringLiteral(" right") : QString();
    platform::Element* element = elementAt(window, scenePos);
    // By name when a click on the middle of the element reaches it again,
    // else by the point of the game picture.
    if (element && elementAt(window, automation::ScriptRunner::visiblePart(*element).center()) == element)
        return QStringLiteral("click ") + element->name() + how;
    platform::Element* picture = window.name() == QLatin1String("Game") ? window.element(QStringLiteral("PictureBox")) : nullptr;
    if (!picture)
        return element ? QStringLiteral("click ") + element->name() + how : QString();
    const QPointF at = scenePos - picture->scenePos();
    return QStringLiteral("click-at %1 %2%3")
        .arg(static_cast<int>(std::floor(at.x())))
        .arg(static_cast<int>(std::floor(at.y())))
        .arg(button == Qt::RightButton ? QStringLiteral(" right") : QString());
}

void Recorder::pointerInput(platform::SceneWindow& window, QEvent::Type type, Qt::MouseButton button, QPointF scenePos)
{
    if (type == QEvent::MouseButtonPress) {
        if (button != Qt::LeftButton && button != Qt::RightButton)
            return;
        platform::Element* element = elementAt(window, scenePos);
        begin(QString());
        m_entry->window = &window;
        m_entry->pressed = element ? element->name() : QString();
        m_entry->pressAt = scenePos;
        m_entry->button = button;
        m_entry->line = clickLine(window, scenePos, button, false);
        return;
    }
    if (type == QEvent::MouseMove) {
        // A drag moves with the button held: its release says where it went.
        platform::Element* element = elementAt(window, scenePos);
        const QString name = element ? element->name() : QString();
        if ((m_entry && m_entry->button != Qt::NoButton && !m_entry->ended) || name.isEmpty() || name == m_hovered) {
            m_ignoreEnd = true;
            return;
        }
        m_hovered = name;
        begin(QStringLiteral("move ") + name);
        return;
    }
    if (!m_entry || m_entry->window != &window || m_entry->button != button)
        return;
    if (type == QEvent::MouseButtonDblClick) {
        m_entry->line = clickLine(window, m_entry->pressAt, button, true);
        m_entry->ended = false;
        return;
    }
    // The release: an object let go over another element was dragged there.
    platform::Element* target = elementAt(window, scenePos);
    if (m_entry->pressed.startsWith(QLatin1String("PickedObject(")) && target && target->name() != m_entry->pressed)
        m_entry->line = QStringLiteral("drag %1 %2").arg(m_entry->pressed, target->name());
    m_entry->button = Qt::NoButton;
}

void Recorder::keyInput(platform::SceneWindow&, int key, Qt::KeyboardModifiers modifiers)
{
    QString name;
    if (modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier))
        name.clear();
    else if (key == Qt::Key_Escape)
        name = QStringLiteral("Escape");
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        name = QStringLiteral("Enter");
    else if (key == Qt::Key_Backtab || (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier)))
        name = QStringLiteral("Shift+Tab");
    else if (key == Qt::Key_Tab)
        name = QStringLiteral("Tab");
    else if (key == Qt::Key_Space)
        name = QStringLiteral("Space");
    else if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        name = QChar(key);
    // Keys the scripted-play language has no word for are not written.
    if (name.isEmpty()) {
        m_ignoreEnd = true;
        return;
    }
    begin(QStringLiteral("key ") + name);
}

void Recorder::dialogInput(platform::FormWindow& window, const QString& verb, const QString& control, const QString& text)
{
    const QString target = window.name() + u'.' + control;
    // Return in a text box: a key line, which a script sends to the text
    // box that has the focus.
    if (verb == QLatin1String("key")) {
        begin(QStringLiteral("key ") + text);
        return;
    }
    // A person types a text letter by letter: one line holds the whole text.
    if (verb == QLatin1String("type") && m_entry && m_entry->dialogTyping && m_entry->typingControl == target) {
        m_entry->line = QStringLiteral("type %1 %2").arg(target, text);
        return;
    }
    QString line = verb + u' ' + target;
    if (!text.isEmpty())
        line += u' ' + text;
    begin(line);
    m_entry->dialogTyping = verb == QLatin1String("type");
    m_entry->typingControl = target;
}

void Recorder::menuInput(const QString& item)
{
    begin(QStringLiteral("click ") + item);
}

} // namespace authoring
