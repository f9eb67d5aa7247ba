#include "automation/script_runner.h"

#include "app/frm_run_from_cd.h"
#include "app/frm_welcome.h"
#include "app/options_window.h"
#include "app/runtime.h"
#include "automation/state_check.h"
#include "automation/state_dump.h"
#include "engine/game.h"
#include "platform/form_window.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_picture.h"
#include "saves/frm_load_game.h"
#include "saves/frm_save_game.h"

#include <QApplication>
#include <QDir>
#include <QGraphicsView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTextStream>

#include <optional>

namespace automation {

ScriptRunner::ScriptRunner(app::Runtime& rt, QString shotsDir) : m_rt(rt), m_shotsDir(std::move(shotsDir)) {}

platform::SceneWindow* ScriptRunner::activeWindow() const
{
    if (engine::Game* game = m_rt.gameIfLoaded(); game && game->window().isVisible())
        return &game->window();
    if (app::FrmWelcome* welcome = m_rt.welcomeIfLoaded(); welcome && welcome->window().isVisible())
        return &welcome->window();
    return nullptr;
}

platform::FormWindow* ScriptRunner::openDialog() const
{
    if (app::FrmRunFromCD* cd = m_rt.runFromCdIfLoaded())
        return &cd->window();
    if (saves::FrmSaveGame* save = m_rt.saveGameIfLoaded(); save && save->window().isVisible())
        return &save->window();
    if (saves::FrmLoadGame* load = m_rt.loadGameIfLoaded(); load && load->window().isVisible())
        return &load->window();
    if (app::OptionsWindow* options = m_rt.optionsIfLoaded())
        return &options->window();
    return nullptr;
}

QString ScriptRunner::activeWindowName() const
{
    if (platform::FormWindow* dialog = openDialog())
        return dialog->name();
    platform::SceneWindow* w = activeWindow();
    return w ? w->name() : QString();
}

bool ScriptRunner::dialogAction(const QString& verb, const QString& name, const QString& argument)
{
    const qsizetype dot = name.indexOf(u'.');
    const QString windowName = name.left(dot);
    const QString control = name.mid(dot + 1);
    platform::FormWindow* dialog = openDialog();
    if (!dialog || dialog->name() != windowName) {
        error(QStringLiteral("%1 is not open").arg(windowName));
        return false;
    }
    bool done = false;
    if (verb == QLatin1String("click"))
        done = argument == QLatin1String("double") ? dialog->doubleClick(control) : dialog->click(control);
    else if (verb == QLatin1String("type"))
        done = dialog->typeText(control, argument);
    else if (verb == QLatin1String("select"))
        done = dialog->select(control, argument);
    if (!done)
        error(QStringLiteral("Cannot %1 %2 %3").arg(verb, name, argument).trimmed());
    return done;
}

ScriptRunner::Target ScriptRunner::find(const QString& name) const
{
    std::vector<platform::SceneWindow*> windows;
    if (platform::SceneWindow* active = activeWindow())
        windows.push_back(active);
    if (engine::Game* game = m_rt.gameIfLoaded())
        windows.push_back(&game->window());
    if (app::FrmWelcome* welcome = m_rt.welcomeIfLoaded())
        windows.push_back(&welcome->window());
    QString windowName;
    QString elementName = name;
    // "frmSaveGame.Command2": the window is named in front.
    if (const qsizetype dot = name.indexOf(u'.'); dot > 0 && !name.left(dot).contains(u'(')) {
        windowName = name.left(dot);
        elementName = name.mid(dot + 1);
    }
    for (platform::SceneWindow* w : windows) {
        if (!windowName.isEmpty() && w->name() != windowName)
            continue;
        if (platform::Element* e = w->element(elementName))
            return Target{w, e};
    }
    return Target{};
}

void ScriptRunner::error(const QString& text)
{
    m_rt.log.write(QJsonObject{
        {QStringLiteral("type"), QStringLiteral("error")},
        {QStringLiteral("line"), m_lineNumber},
        {QStringLiteral("text"), text},
    });
}

void ScriptRunner::sendClick(platform::SceneWindow& window, QPointF scenePos, Qt::MouseButton button, bool dbl)
{
    window.sendClick(scenePos, button);
    if (dbl) {
        QWidget* viewport = window.view().viewport();
        const QPointF local = window.view().mapFromScene(scenePos);
        const QPointF global = viewport->mapToGlobal(local);
        QMouseEvent twice(QEvent::MouseButtonDblClick, local, global, button, button, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &twice);
        QMouseEvent release2(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &release2);
    }
}

QRectF ScriptRunner::visiblePart(const platform::Element& e)
{
    return platform::SceneWindow::visiblePart(e);
}

namespace {

bool effectivelyVisible(const platform::Element& e)
{
    for (const QGraphicsItem* up = &e; up; up = up->parentItem()) {
        if (!up->isVisible())
            return false;
    }
    return true;
}

} // namespace

bool ScriptRunner::clickMenu(const QString& name)
{
    engine::Game* game = m_rt.gameIfLoaded();
    const QString item = name.startsWith(QLatin1String("Game.")) ? name.mid(5) : name;
    if (!game || !game->visible()) {
        error(QStringLiteral("%1 cannot be clicked: the game window is not shown").arg(name));
        return false;
    }
    engine::GameMenus& menus = game->menus();
    if (item == QLatin1String("mnuExit") && menus.mnuExit.visible) {
        menus.chooseExit();
        return true;
    }
    if (item == QLatin1String("mnuSaveGame") && menus.mnuSaveGame.visible) {
        menus.chooseSaveGame();
        return true;
    }
    if (item.startsWith(QLatin1String("mnuFrameName(")) && item.endsWith(u')') && menus.mnuDebug.visible) {
        bool ok = false;
        const int index = item.mid(13, item.size() - 14).toInt(&ok);
        if (ok && index >= 1 && index <= menus.mnuFrameName.size()) {
            menus.chooseFrame(index);
            return true;
        }
    }
    error(QStringLiteral("%1 cannot be clicked: the menu item is not shown").arg(name));
    return false;
}

bool ScriptRunner::clickPlayerMenu(const QString& name)
{
    engine::Game* game = m_rt.gameIfLoaded();
    if (!game || !game->playerMenu().isOpen()) {
        error(QStringLiteral("%1 cannot be clicked: the player's menu is not open").arg(name));
        return false;
    }
    const QString item = name.mid(QLatin1String("PlayerMenu.").size());
    for (const engine::PlayerMenu::Item each : engine::PlayerMenu::items()) {
        if (engine::PlayerMenu::scriptName(each).compare(item, Qt::CaseInsensitive) == 0) {
            game->playerMenu().choose(each);
            return true;
        }
    }
    error(QStringLiteral("No item %1 in the player's menu").arg(item));
    return false;
}

bool ScriptRunner::click(const QString& name, const QString& how)
{
    if (name.startsWith(QLatin1String("mnu")) || name.startsWith(QLatin1String("Game.mnu")))
        return clickMenu(name);
    if (name.startsWith(QLatin1String("PlayerMenu.")))
        return clickPlayerMenu(name);
    const Target t = find(name);
    if (!t.element) {
        error(QStringLiteral("No element named %1").arg(name));
        return false;
    }
    const QRectF r = visiblePart(*t.element);
    if (!effectivelyVisible(*t.element) || r.isEmpty()) {
        error(QStringLiteral("%1 cannot be clicked: it is not visible").arg(name));
        return false;
    }
    sendClick(*t.window, r.center(), how == QLatin1String("right") ? Qt::RightButton : Qt::LeftButton,
              how == QLatin1String("double"));
    return true;
}

bool ScriptRunner::clickAt(int x, int y, bool right)
{
    engine::Game* game = m_rt.gameIfLoaded();
    if (!game || !game->window().isVisible()) {
        error(QStringLiteral("click-at needs the game window"));
        return false;
    }
    const QPointF origin = game->element(QStringLiteral("PictureBox"))->scenePos();
    sendClick(game->window(), origin + QPointF(x + 0.5, y + 0.5), right ? Qt::RightButton : Qt::LeftButton, false);
    return true;
}

bool ScriptRunner::drag(const QString& from, const QString& to)
{
    const Target source = find(from);
    const Target target = find(to);
    if (!source.element || !target.element || source.window != target.window) {
        error(QStringLiteral("Cannot drag %1 onto %2").arg(from, to));
        return false;
    }
    if (!effectivelyVisible(*source.element) || !effectivelyVisible(*target.element) || visiblePart(*source.element).isEmpty()
        || visiblePart(*target.element).isEmpty()) {
        error(QStringLiteral("Cannot drag %1 onto %2: not visible").arg(from, to));
        return false;
    }
    QWidget* viewport = source.window->view().viewport();
    const QPointF start = source.window->view().mapFromScene(visiblePart(*source.element).center());
    const QPointF end = source.window->view().mapFromScene(visiblePart(*target.element).center());
    QMouseEvent press(QEvent::MouseButtonPress, start, viewport->mapToGlobal(start), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    // The press may have changed the scene (a slide of the bar); the target
    // is found again where it is now.
    const QPointF over = target.element->scene() ? source.window->view().mapFromScene(visiblePart(*target.element).center()) : end;
    QMouseEvent moveEvent(QEvent::MouseMove, over, viewport->mapToGlobal(over), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &moveEvent);
    QMouseEvent release(QEvent::MouseButtonRelease, over, viewport->mapToGlobal(over), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
    return true;
}

bool ScriptRunner::moveAt(int x, int y)
{
    engine::Game* game = m_rt.gameIfLoaded();
    if (!game || !game->window().isVisible()) {
        error(QStringLiteral("move-at needs the game window"));
        return false;
    }
    QWidget* viewport = game->window().view().viewport();
    const QPointF origin = game->element(QStringLiteral("PictureBox"))->scenePos();
    const QPointF local = game->window().view().mapFromScene(origin + QPointF(x + 0.5, y + 0.5));
    QMouseEvent moveEvent(QEvent::MouseMove, local, viewport->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &moveEvent);
    return true;
}

bool ScriptRunner::move(const QString& name)
{
    const Target t = find(name);
    if (!t.element) {
        error(QStringLiteral("No element named %1").arg(name));
        return false;
    }
    QWidget* viewport = t.window->view().viewport();
    const QPointF local = t.window->view().mapFromScene(visiblePart(*t.element).center());
    QMouseEvent moveEvent(QEvent::MouseMove, local, viewport->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &moveEvent);
    return true;
}

bool ScriptRunner::key(const QString& name)
{
    QWidget* window = openDialog();
    if (!window)
        window = activeWindow();
    if (!window) {
        error(QStringLiteral("No window takes keys"));
        return false;
    }
    int code = 0;
    QString text;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    const auto is = [&name](const char* word) { return name.compare(QLatin1String(word), Qt::CaseInsensitive) == 0; };
    if (is("Escape") || is("Esc")) {
        code = Qt::Key_Escape;
    } else if (is("Enter") || is("Return")) {
        code = Qt::Key_Return;
        text = QStringLiteral("\r");
    } else if (is("Tab")) {
        code = Qt::Key_Tab;
        text = QStringLiteral("\t");
    } else if (is("Shift+Tab")) {
        // As a keyboard gives it: the back-tab key with Shift held.
        code = Qt::Key_Backtab;
        modifiers = Qt::ShiftModifier;
    } else if (is("Pause")) {
        code = Qt::Key_Pause;
    } else if (is("Space")) {
        code = Qt::Key_Space;
        text = QStringLiteral(" ");
    } else if (const int f = name.size() <= 3 && name.startsWith(u'F', Qt::CaseInsensitive) ? name.mid(1).toInt() : 0; f >= 1 && f <= 12) {
        code = Qt::Key_F1 + f - 1;
    } else if (name.size() == 1 && name[0].isLetterOrNumber() && name[0].unicode() < 128) {
        code = name[0].toUpper().unicode();
        text = name;
    } else {
        error(QStringLiteral("Unknown key %1").arg(name));
        return false;
    }
    // Keys go to the widget that has the focus in that window.
    QWidget* receiver = window->focusWidget() ? window->focusWidget() : window;
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QCoreApplication::sendEvent(receiver, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QCoreApplication::sendEvent(receiver, &release);
    return true;
}

bool ScriptRunner::shot(const QString& file)
{
    QWidget* window = openDialog();
    if (!window)
        window = activeWindow();
    if (!window) {
        error(QStringLiteral("No window to take a picture of"));
        return false;
    }
    // A run writes nothing where it was started: without a folder for
    // pictures a shot is only noted.
    if (m_shotsDir.isEmpty()) {
        m_rt.notices.notice(QStringLiteral("No --shots folder: %1 is not written").arg(file));
        return true;
    }
    // Shots stay inside their folder, in subfolders at most.
    const QString inside = QDir::cleanPath(file);
    if (QDir::isAbsolutePath(file) || inside == QLatin1String("..") || inside.startsWith(QLatin1String("../"))) {
        error(QStringLiteral("A shot is written inside the --shots folder: %1").arg(file));
        return false;
    }
    const QString path = QDir(m_shotsDir).filePath(inside);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!platform::WindowPicture(*window).save(path, "PNG")) {
        error(QStringLiteral("Cannot write %1").arg(path));
        return false;
    }
    m_rt.log.write(QJsonObject{{QStringLiteral("type"), QStringLiteral("shot")}, {QStringLiteral("path"), QFileInfo(path).absoluteFilePath()}});
    return true;
}

bool ScriptRunner::expect(const QJsonObject& expected)
{
    const QString difference = StateDifference(expected, StateDump(m_rt, activeWindowName()));
    if (difference.isEmpty())
        return true;
    error(QStringLiteral("The state differs: %1").arg(difference));
    return false;
}

void ScriptRunner::fail(const QString& expected, const QString& found)
{
    m_expectationFailed = true;
    // Stopping here leaves the state the failure found for the author to see.
    if (m_stopOnFail)
        m_failed = true;
    m_rt.log.write(QJsonObject{
        {QStringLiteral("type"), QStringLiteral("fail")},
        {QStringLiteral("line"), m_lineNumber},
        {QStringLiteral("expected"), expected},
        {QStringLiteral("found"), found},
    });
}

bool ScriptRunner::expectWords(const QStringList& words)
{
    const QString what = words.value(0).toLower();
    const QString rest = words.mid(1).join(u' ');
    const QJsonObject state = StateDump(m_rt, activeWindowName());
    const QJsonObject game = state.value(QStringLiteral("game")).toObject();
    const auto expected = QStringLiteral("%1 %2").arg(what, rest).trimmed();
    if (what == QLatin1String("frame") && !rest.isEmpty()) {
        const QString frame = game.value(QStringLiteral("frame")).toString();
        if (frame.compare(rest, Qt::CaseInsensitive) != 0)
            fail(expected, QStringLiteral("frame %1").arg(frame));
        return true;
    }
    if (what == QLatin1String("variable") && words.size() == 3) {
        const std::optional<QJsonValue> value = PairValue(game.value(QStringLiteral("variables")).toArray(), words[1]);
        if (!value)
            fail(expected, QStringLiteral("no variable %1").arg(words[1]));
        else if (ValueText(*value).compare(words[2], Qt::CaseInsensitive) != 0)
            fail(expected, QStringLiteral("variable %1 %2").arg(words[1], ValueText(*value)));
        return true;
    }
    const QStringList inventory = game.value(QStringLiteral("inventory")).toVariant().toStringList();
    const auto held = [&](const QString& name) { return inventory.contains(name, Qt::CaseInsensitive); };
    const QString inventoryFound = inventory.isEmpty() ? QStringLiteral("an empty inventory")
                                                       : QStringLiteral("inventory %1").arg(inventory.join(QStringLiteral(", ")));
    if (what == QLatin1String("inventory") && !rest.isEmpty()) {
        if (!held(rest))
            fail(expected, inventoryFound);
        return true;
    }
    if (what == QLatin1String("no") && words.value(1).toLower() == QLatin1String("inventory") && words.size() > 2) {
        if (held(words.mid(2).join(u' ')))
            fail(expected, inventoryFound);
        return true;
    }
    if ((what == QLatin1String("shown") || what == QLatin1String("hidden")) && words.size() == 2) {
        const Target t = find(words[1]);
        if (!t.element) {
            fail(expected, QStringLiteral("no element %1").arg(words[1]));
            return true;
        }
        const bool shown = effectivelyVisible(*t.element);
        if (shown != (what == QLatin1String("shown")))
            fail(expected, QStringLiteral("%1 %2").arg(shown ? QStringLiteral("shown") : QStringLiteral("hidden"), words[1]));
        return true;
    }
    if (what == QLatin1String("removed") && words.size() == 3) {
        // An area removed from its frame: the frame's name and the area's number.
        bool removed = false;
        for (const QJsonValue& pair : game.value(QStringLiteral("disappear")).toArray()) {
            const QJsonArray p = pair.toArray();
            removed |= p.at(0).toString().compare(words[1], Qt::CaseInsensitive) == 0 && ValueText(p.at(1)) == words[2];
        }
        if (!removed)
            fail(expected, QStringLiteral("area %1 of %2 not removed").arg(words[2], words[1]));
        return true;
    }
    if (what == QLatin1String("message") && !rest.isEmpty()) {
        // The strip while it shows, else the last message box.
        QString found;
        const Target strip = find(QStringLiteral("LabelMessageBox"));
        if (strip.element && effectivelyVisible(*strip.element))
            found = strip.element->text();
        else if (const platform::ScriptedDialogs* boxes = m_rt.scriptedDialogs())
            found = boxes->lastText();
        if (found != rest)
            fail(expected, QStringLiteral("message %1").arg(found));
        return true;
    }
    const QString playing = PlayingMusic(state);
    if (what == QLatin1String("music") && !rest.isEmpty()) {
        if (playing.compare(rest, Qt::CaseInsensitive) != 0)
            fail(expected, playing.isEmpty() ? QStringLiteral("silence") : QStringLiteral("music %1").arg(playing));
        return true;
    }
    if (what == QLatin1String("silence") && rest.isEmpty()) {
        if (!playing.isEmpty())
            fail(expected, QStringLiteral("music %1").arg(playing));
        return true;
    }
    error(QStringLiteral("Cannot read the line: expect %1").arg(words.join(u' ')));
    return false;
}

bool ScriptRunner::runLine(const QString& rawLine)
{
    const QString line = rawLine.trimmed();
    if (line.isEmpty() || line.startsWith(u'#'))
        return true;
    QStringList words = line.split(u' ', Qt::SkipEmptyParts);
    const QString verb = words.takeFirst().toLower();
    const bool input = verb == QLatin1String("click") || verb == QLatin1String("type") || verb == QLatin1String("select")
        || verb == QLatin1String("move") || verb == QLatin1String("drag") || verb == QLatin1String("click-at")
        || verb == QLatin1String("move-at");
    if (input && !words.isEmpty()) {
        const QString target = words[0];
        const bool toDialog = target.startsWith(QLatin1String("frmSaveGame.")) || target.startsWith(QLatin1String("frmLoadGame."))
            || target.startsWith(QLatin1String("frmRunFromCD.")) || target.startsWith(QLatin1String("Options."));
        if (toDialog) {
            // The rest of the line, spaces and all, is the text or item.
            const QString rest = line.section(u' ', 2, -1, QString::SectionSkipEmpty);
            return dialogAction(verb, target, rest);
        }
        if (platform::FormWindow* dialog = openDialog()) {
            error(QStringLiteral("%1 is open: only it takes input").arg(dialog->name()));
            return false;
        }
    }
    auto number = [&](int i, bool& ok) { return i < words.size() ? words[i].toInt(&ok) : (ok = false, 0); };
    if (verb == QLatin1String("click") && !words.isEmpty())
        return click(words[0], words.value(1).toLower());
    if (verb == QLatin1String("click-at") && words.size() >= 2) {
        bool okX = false, okY = false;
        const int x = number(0, okX);
        const int y = number(1, okY);
        if (okX && okY)
            return clickAt(x, y, words.value(2).toLower() == QLatin1String("right"));
    }
    if (verb == QLatin1String("move") && words.size() == 1)
        return move(words[0]);
    if (verb == QLatin1String("move-at") && words.size() == 2) {
        bool okX = false, okY = false;
        const int x = number(0, okX);
        const int y = number(1, okY);
        if (okX && okY)
            return moveAt(x, y);
    }
    if (verb == QLatin1String("drag") && words.size() == 2)
        return drag(words[0], words[1]);
    if (verb == QLatin1String("key") && words.size() == 1)
        return key(words[0]);
    if (verb == QLatin1String("answer") && words.size() == 1) {
        static const std::pair<const char*, platform::MsgAnswer> answers[] = {
            {"ok", platform::MsgAnswer::Ok}, {"cancel", platform::MsgAnswer::Cancel},
            {"yes", platform::MsgAnswer::Yes}, {"no", platform::MsgAnswer::No}};
        for (const auto& [word, answer] : answers) {
            if (words[0].toLower() == QLatin1String(word) && m_rt.scriptedDialogs()) {
                m_rt.scriptedDialogs()->queue(answer);
                return true;
            }
        }
    }
    if (verb == QLatin1String("wait") && words.size() == 1) {
        bool ok = false;
        const int ms = number(0, ok);
        if (ok && ms >= 0) {
            m_rt.clock().sleep(ms);
            return true;
        }
    }
    if (verb == QLatin1String("dump") && words.isEmpty()) {
        m_rt.log.write(StateDump(m_rt, activeWindowName()));
        return true;
    }
    if (verb == QLatin1String("shot") && words.size() == 1)
        return shot(words[0]);
    if (verb == QLatin1String("expect") && !words.isEmpty()) {
        if (const QJsonDocument expected = QJsonDocument::fromJson(line.mid(verb.size()).trimmed().toUtf8()); expected.isObject())
            return expect(expected.object());
        return expectWords(words);
    }
    error(QStringLiteral("Cannot read the line: %1").arg(line));
    return false;
}

ScriptRunner::LineSource ScriptRunner::linesOf(const QStringList& lines)
{
    return [&lines, next = qsizetype(0)]() mutable -> std::optional<QString> {
        if (next >= lines.size())
            return std::nullopt;
        return lines[next++];
    };
}

ScriptRunner::LineSource ScriptRunner::linesOf(QTextStream& stream)
{
    return [&stream]() -> std::optional<QString> {
        QString line;
        if (!stream.readLineInto(&line))
            return std::nullopt;
        return line;
    };
}

std::optional<QString> ScriptRunner::nextLine(const LineSource& source)
{
    std::optional<QString> line = m_pending ? std::exchange(m_pending, std::nullopt) : source();
    if (line)
        ++m_lineNumber;
    return line;
}

void ScriptRunner::queueStartUpAnswers(const LineSource& source)
{
    static const QRegularExpression answer(QStringLiteral("^answer\\s+(ok|cancel|yes|no)$"), QRegularExpression::CaseInsensitiveOption);
    m_lineNumber = 0;
    m_continuing = true;
    while (std::optional<QString> line = nextLine(source)) {
        const QString text = line->trimmed();
        if (text.isEmpty() || text.startsWith(u'#'))
            continue;
        // The first other line, or an answer that is no good, waits for
        // run() (which reports a bad one).
        if (!answer.match(text).hasMatch()) {
            m_pending = line;
            --m_lineNumber;
            return;
        }
        runLine(text);
    }
}

void ScriptRunner::betweenLines()
{
    QCoreApplication::processEvents();
    // Control is back where a window's event loop would be between two
    // inputs, with no handler running: what the line unloaded (the areas of
    // a frame it closed) is freed now. Qt holds back a deletion while the
    // handler that asked for it lets events run (the pause after a press),
    // and then delivers it only from an event loop of its own, which a
    // script runs none of: left to Qt, every unloaded element stayed until
    // the windows closed.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool ScriptRunner::run(const LineSource& source)
{
    // Lines count from the top of the script, start-up answers included.
    if (!std::exchange(m_continuing, false))
        m_lineNumber = 0;
    // While the program waits for the player (a video plays), the next
    // lines run inside that wait, as a person's input would arrive.
    m_failed = false;
    m_expectationFailed = false;
    // A script that ends or fails there ends the run, whatever still plays.
    m_rt.clock().setInputSource([this, &source] {
        if (m_rt.ended())
            return false;
        const std::optional<QString> line = m_failed ? std::nullopt : nextLine(source);
        if (!line) {
            m_rt.EndProgram();
            return false;
        }
        if (!runLine(*line))
            m_failed = true;
        return true;
    });
    // Let the windows shown before the script settle (activation).
    betweenLines();
    while (!m_failed) {
        const std::optional<QString> line = nextLine(source);
        if (!line || m_rt.ended())
            break;
        if (!runLine(*line))
            m_failed = true;
        betweenLines();
    }
    m_rt.clock().setInputSource(nullptr);
    return !m_failed && !m_expectationFailed;
}

} // namespace automation
