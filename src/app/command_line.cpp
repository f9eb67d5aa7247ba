#include "app/command_line.h"

#include "app/game_folders.h"
#include "app/player_options.h"
#include "app/translations.h"
#include "base/code_page.h"
#include "base/failure.h"
#include "devices/sound_font.h"

#include <QCommandLineOption>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace app {

namespace {

using Group = CommandLine::Group;
using Choices = CommandLine::Choices;

// A text of the command line in the player's language.
QString say(const Choices& choices, const char* source)
{
    return Translations::say(choices.words, "app::CommandLine", source);
}

// What the options with a value make of it. Each says what is wrong with a
// value in a line of its own, by throwing it.

void takeSoundFont(const QString& value, Choices& into)
{
    into.options.soundFont = QFileInfo(value).absoluteFilePath();
    devices::CheckSoundFont(into.options.soundFont);
}

void takeCodePage(const QString& value, Choices& into)
{
    into.options.codePage = base::CodePage::named(value).name();
}

void takeScaling(const QString& value, Choices& into)
{
    const std::optional<platform::Scaling> scaling = PlayerOptions::scalingNamed(value);
    if (!scaling)
        throw base::Failure(say(into, QT_TRANSLATE_NOOP("app::CommandLine", "--scaling takes smooth, sharp or whole, not %1")).arg(value));
    into.options.scaling = *scaling;
}

void takeMountTable(const QString& value, Choices& into)
{
    QFile table(value);
    if (!table.open(QIODevice::ReadOnly))
        throw base::Failure(say(into, QT_TRANSLATE_NOOP("app::CommandLine", "cannot read the mount table %1")).arg(table.fileName()));
    into.options.mountTable = QString::fromLocal8Bit(table.readAll());
}

// Only a headless run plays its script; a run on screen leaves it unread.
void takeScript(const QString& value, Choices& into)
{
    if (!into.headless)
        return;
    auto script = std::make_unique<QFile>(value);
    if (!script->open(QIODevice::ReadOnly | QIODevice::Text))
        throw base::Failure(say(into, QT_TRANSLATE_NOOP("app::CommandLine", "cannot read the script %1")).arg(script->fileName()));
    into.script = std::move(script);
}

void takeScreen(const QString& value, Choices& into)
{
    const QStringList size = value.split(u'x');
    bool okW = false, okH = false;
    const int w = size.value(0).toInt(&okW);
    const int h = size.value(1).toInt(&okH);
    if (size.size() != 2 || !okW || !okH || w <= 0 || h <= 0)
        throw base::Failure(say(into, QT_TRANSLATE_NOOP("app::CommandLine", "--screen takes a size such as 1024x768")));
    into.screen = QSize(w, h);
}

void takeDpi(const QString& value, Choices& into)
{
    bool ok = false;
    const double dpi = value.toDouble(&ok);
    if (!ok || dpi < 24 || dpi > 960)
        throw base::Failure(say(into, QT_TRANSLATE_NOOP("app::CommandLine", "--dpi takes a number of dots per inch such as 96 or 120")));
    into.dpi = dpi;
}

void takeStartTime(const QString& value, Choices& into)
{
    into.options.startTime = QDateTime::fromString(value, Qt::ISODate);
    if (!into.options.startTime.isValid())
        throw base::Failure(say(into, QT_TRANSLATE_NOOP("app::CommandLine", "--start-time takes a time such as 2026-01-31T09:30:00")));
}

// One line per option: adding an option to a group is adding its line here.
const std::vector<CommandLine::Option> kOptions = {
    {.group = Group::Playing,
     .name = "windowed",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Start the game in a window (Alt+Enter switches to full screen)."),
     .take = [](const QString&, Choices& into) { into.options.fullScreen = false; }},
    {.group = Group::Playing, .name = "fullscreen", .description = QT_TRANSLATE_NOOP("app::CommandLine", "Start the game full screen, as it starts by default (Alt+Enter switches).")},
    {.group = Group::Playing,
     .name = "scaling",
     .value = "KIND",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Scale the game picture smooth, sharp or in whole steps (sharp, with bars)."),
     .details = "How the game picture is scaled to a screen or window of another size, its aspect always kept: smooth (the default), "
                "sharp (the nearest pixel) or whole (sharp, at the largest whole multiple that fits, with bars).",
     .take = takeScaling},
    {.group = Group::Playing,
     .name = "mute",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Play without sound; music and sounds keep their timings."),
     .take = [](const QString&, Choices& into) { into.options.mute = true; }},
    {.group = Group::Playing,
     .name = "speech",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Read aloud the texts the game shows and the objects Tab comes to."),
     .details = "Read aloud, through the system's speech service, the frame texts when a frame opens, the messages, the message boxes "
                "and the name of each object the ring of Tab comes to.",
     .take = [](const QString&, Choices& into) { into.options.speech = true; }},
    {.group = Group::Playing,
     .name = "no-focus-ring",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Leave Tab, Enter and Space to the game: no play without a mouse."),
     .take = [](const QString&, Choices& into) { into.options.focusRing = false; }},
    {.group = Group::Playing,
     .name = "soundfont",
     .value = "FILE",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "The General MIDI soundfont for MIDI music (default: Debian's timgm6mb-soundfont)."),
     .details = "The General MIDI soundfont for MIDI music, an SF2 or SF3 file (default: the one of Debian's timgm6mb-soundfont package).",
     .take = takeSoundFont},
    {.group = Group::Playing,
     .name = "codepage",
     .value = "NAME",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "The code page of the game's text (default windows-1252)."),
     .details = "The code page of the game's text: windows-1252 (the default), windows-1251, windows-1250, Shift_JIS and the others Qt knows.",
     .take = takeCodePage,
     .readByCheck = true},
    {.group = Group::Playing,
     .name = "settings",
     .value = "DIR",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Keep the per-user settings in this folder (a headless run otherwise uses a temporary one)."),
     .details = "Keep the per-user settings in DIR instead of $XDG_CONFIG_HOME/loomplay; a headless run not told where keeps them in a "
                "temporary folder of its own.",
     .take = [](const QString& value, Choices& into) { into.settings = value; },
     .readByCheck = true},
    {.group = Group::Playing,
     .name = "mount-table",
     .value = "FILE",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "A mount table (as /proc/mounts) to take the drive letters of CD games from."),
     .details = "Take the drive letters of CD games from a mount table in the form of /proc/mounts instead of this system's.",
     .take = takeMountTable,
     .readByCheck = true},
    {.group = Group::Playing,
     .name = "verbose",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Also print each frame opened and each media file played."),
     .take = [](const QString&, Choices& into) { into.verbose = true; }},
    {.group = Group::ScriptedPlay,
     .name = "headless",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Play a script without a screen; print JSON lines."),
     .details = "Play a script without a screen, on a virtual clock, and print one JSON object a line for every message box, media call, "
                "dump and picture."},
    {.group = Group::ScriptedPlay, .name = "script", .value = "FILE", .description = QT_TRANSLATE_NOOP("app::CommandLine", "The script to play."), .take = takeScript},
    {.group = Group::ScriptedPlay,
     .name = "stop-on-fail",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "With --script or --test: end a script at its first expectation that does not hold."),
     .details = "With --script or --test: end a script at its first expect line that does not hold, its fail line the last one; "
                "otherwise the script goes on and fails at its end.",
     .take = [](const QString&, Choices& into) { into.stopOnFail = true; }},
    {.group = Group::ScriptedPlay,
     .name = "shots",
     .value = "DIR",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "The folder for the pictures of 'shot' lines."),
     .take = [](const QString& value, Choices& into) { into.shots = value; }},
    {.group = Group::ScriptedPlay,
     .name = "screen",
     .value = "WxH",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "The screen size a headless run pretends to have (default 1024x768)."),
     .take = takeScreen},
    {.group = Group::ScriptedPlay,
     .name = "dpi",
     .value = "N",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "The logical DPI a headless run pretends its desktop has (above 96: large fonts)."),
     .take = takeDpi},
    {.group = Group::ScriptedPlay,
     .name = "start-time",
     .value = "YYYY-MM-DDTHH:MM:SS",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Where the virtual clock starts (default: now)."),
     .take = takeStartTime},
    {.group = Group::Authoring,
     .name = "debug",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Offer a Debug menu of the game's frames in the game window."),
     .take = [](const QString&, Choices& into) { into.options.debug = true; }},
    {.group = Group::Authoring,
     .name = "check",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Check the game for its author: print what is wrong, open no window."),
     .details = "Check the game for its author and open no window: every file the player reads, field by field, links that lead nowhere, "
                "media missing or that the player cannot decode. Each finding is one line: the file, where in it, and what is wrong; "
                "warnings say warning: after the file. The exit status is 1 when there are errors."},
    {.group = Group::Authoring,
     .name = "json",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "With --check: print the findings as JSON lines."),
     .details = "With --check: print the findings as JSON lines, objects of file, where, severity and message.",
     .take = [](const QString&, Choices& into) { into.json = true; },
     .readByCheck = true},
    {.group = Group::Authoring,
     .name = "map",
     .value = "FILE",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "With --check: draw the frames as a graph (.svg or .dot)."),
     .details = "With --check: draw the frames and the ways between them as a graph, Graphviz's text for a FILE ending in .dot, laid out "
                "by Graphviz's dot program for one ending in .svg.",
     .take = [](const QString& value, Choices& into) { into.map = value; },
     .readByCheck = true},
    {.group = Group::Authoring,
     .name = "record",
     .value = "FILE",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Write the player's input as a script of the scripted-play language."),
     .details = "Write the player's input as a script of the scripted-play language, ending with an expect line of the state the run "
                "ended in; played with --headless --script it reaches that state or fails.",
     .take = [](const QString& value, Choices& into) { into.record = value; }},
    {.group = Group::Authoring,
     .name = "expect-end",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "With --record: end the recording with expect lines in words, a test as it stands."),
     .details = "With --record: end the recording with expect lines in words instead of the state line: the frame, the inventory, the "
                "variables that are not 0, the areas removed and the music or silence, so that the recording is a test to keep in the "
                "game's tests folder.",
     .take = [](const QString&, Choices& into) { into.expectEnd = true; }},
    {.group = Group::Authoring,
     .name = "test",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Play the game's test scripts (GAME_DIR [SCRIPT]...), each on a copy of the game, and tell which fail."),
     .details = "Play test scripts, each headless on a fresh temporary copy of the game, two at a time: the scripts named after the game "
                "folder, or every *.test file of its tests folder. One line per script says PASS or FAIL with the expectations that "
                "did not hold, and a summary ends. The exit status is 0 when every script passes, 1 when one fails, 2 for no scripts "
                "to play or a report that cannot be written.",
     .take = [](const QString&, Choices& into) { into.testing = true; }},
    {.group = Group::Authoring,
     .name = "junit",
     .value = "FILE",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "With --test: also write the results as a JUnit XML report."),
     .take = [](const QString& value, Choices& into) { into.junit = value; }},
    {.group = Group::Information,
     .name = "help",
     .description = QT_TRANSLATE_NOOP("app::CommandLine", "Show this help and exit."),
     .details = "Show the options, group by group, and exit.",
     .alias = "h"},
    {.group = Group::Information, .name = "version", .description = QT_TRANSLATE_NOOP("app::CommandLine", "Show the player's version and exit.")},
};

constexpr Group kGroups[] = {Group::Playing, Group::ScriptedPlay, Group::Authoring, Group::Information};

// Text as the man macros take it: hyphens and backslashes escaped, and no
// line that starts with a control character.
QString roff(const QString& text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\e")).replace(u'-', QStringLiteral("\\-"));
    if (escaped.startsWith(u'.') || escaped.startsWith(u'\''))
        escaped.prepend(QStringLiteral("\\&"));
    return escaped;
}

QString optionLabel(const CommandLine::Option& option)
{
    QString label = option.alias ? QStringLiteral("-%1, ").arg(QLatin1String(option.alias)) : QStringLiteral("    ");
    label += QStringLiteral("--") + QLatin1String(option.name);
    if (option.value)
        label += u' ' + QLatin1String(option.value);
    return label;
}

} // namespace

const std::vector<CommandLine::Option>& CommandLine::options()
{
    return kOptions;
}

CommandLine::CommandLine(const Translations* words) : m_words(words)
{
    for (const Option& option : kOptions) {
        QStringList names{QLatin1String(option.name)};
        if (option.alias)
            names.prepend(QLatin1String(option.alias));
        QCommandLineOption qtOption(names, say(option.description));
        if (option.value)
            qtOption.setValueName(QLatin1String(option.value));
        m_parser.addOption(qtOption);
    }
}

bool CommandLine::parse(const QStringList& arguments)
{
    m_error.clear();
    if (!m_parser.parse(arguments)) {
        m_error = m_parser.errorText();
        m_errorShowsUsage = true;
        return false;
    }
    return true;
}

QString CommandLine::say(const char* source) const
{
    return Translations::say(m_words, "app::CommandLine", source);
}

bool CommandLine::validate()
{
    m_choices.emplace();
    m_choices->words = m_words;
    m_error = conflict();
    m_errorShowsUsage = !m_error.isEmpty();
    if (!m_error.isEmpty())
        return false;
    // A check opens no window either: it runs offscreen, with settings of its own.
    m_choices->checking = isSet(QStringLiteral("check"));
    // A test run plays its scripts in programs of their own; it shows nothing.
    m_choices->testing = isSet(QStringLiteral("test"));
    m_choices->testScripts = positional().mid(1);
    m_choices->headless = isSet(QStringLiteral("headless")) || m_choices->checking || m_choices->testing;
    m_choices->options.scripted = m_choices->headless;
    m_choices->options.unseen = m_choices->headless;
    m_error = takeFolder();
    if (!m_error.isEmpty())
        return false;
    try {
        for (const Option& option : kOptions) {
            const QString name = QLatin1String(option.name);
            if (option.take && isSet(name) && (option.readByCheck || !m_choices->checking))
                option.take(value(name), *m_choices);
        }
    } catch (const base::Failure& e) {
        m_error = QString::fromStdString(e.what());
        return false;
    }
    // A headless run has no real screen to take after: it pretends to
    // have a common one unless told another.
    if (m_choices->headless) {
        m_choices->screen = m_choices->screen.value_or(QSize(1024, 768));
        m_choices->dpi = m_choices->dpi.value_or(96);
    }
    return true;
}

QString CommandLine::conflict() const
{
    const QStringList folders = positional();
    const bool testing = isSet(QStringLiteral("test"));
    // A test run names the game, then its scripts.
    if (folders.size() > 1 && !testing)
        return say(QT_TRANSLATE_NOOP("app::CommandLine", "one game folder at a time: %1")).arg(folders.join(u' '));
    if (testing && folders.isEmpty())
        return say(QT_TRANSLATE_NOOP("app::CommandLine", "--test needs the game folder"));
    for (const QString& option : {QStringLiteral("headless"), QStringLiteral("script"), QStringLiteral("check"), QStringLiteral("record")}) {
        if (testing && isSet(option))
            return say(QT_TRANSLATE_NOOP("app::CommandLine", "--test plays its scripts itself: it goes without --%1")).arg(option);
    }
    if (isSet(QStringLiteral("junit")) && !testing)
        return say(QT_TRANSLATE_NOOP("app::CommandLine", "--junit goes with --test"));
    if (isSet(QStringLiteral("expect-end")) && !isSet(QStringLiteral("record")))
        return say(QT_TRANSLATE_NOOP("app::CommandLine", "--expect-end goes with --record"));
    if (isSet(QStringLiteral("stop-on-fail")) && !isSet(QStringLiteral("script")) && !testing)
        return say(QT_TRANSLATE_NOOP("app::CommandLine", "--stop-on-fail goes with --script or --test"));
    if (isSet(QStringLiteral("windowed")) && isSet(QStringLiteral("fullscreen")))
        return say(QT_TRANSLATE_NOOP("app::CommandLine", "--windowed and --fullscreen exclude each other"));
    if (isSet(QStringLiteral("headless")) && !isSet(QStringLiteral("script")))
        return say(QT_TRANSLATE_NOOP("app::CommandLine", "--headless needs --script FILE"));
    for (const QString& option : {QStringLiteral("json"), QStringLiteral("map")}) {
        if (isSet(option) && !isSet(QStringLiteral("check")))
            return say(QT_TRANSLATE_NOOP("app::CommandLine", "--%1 goes with --check")).arg(option);
    }
    return {};
}

QString CommandLine::takeFolder()
{
    if (positional().isEmpty())
        return {};
    m_choices->options.projectDir = QDir(positional().first()).absolutePath();
    // A folder named on the command line must be a game; a headless run
    // plays whatever is there, as the start-up of the game itself would,
    // and a check says itself what is wrong with the folder.
    const QString why = WhyNotAGame(m_choices->options.projectDir, m_words);
    if (why.isEmpty() || m_choices->checking || (m_choices->headless && QFileInfo(m_choices->options.projectDir).isDir()))
        return {};
    return why;
}

QString CommandLine::errorText() const
{
    QString text = QStringLiteral("loomplay: ") + m_error + u'\n';
    if (m_errorShowsUsage)
        text += usage() + say(QT_TRANSLATE_NOOP("app::CommandLine", " (loomplay --help lists the options)")) + u'\n';
    return text;
}

QString CommandLine::usage() const
{
    return say(QT_TRANSLATE_NOOP("app::CommandLine", "Usage: loomplay [OPTION]... [GAME_DIR]"));
}

namespace {

const char* titleOf(CommandLine::Group group)
{
    switch (group) {
    case Group::Playing: return QT_TRANSLATE_NOOP("app::CommandLine", "Playing");
    case Group::ScriptedPlay: return QT_TRANSLATE_NOOP("app::CommandLine", "Scripted play");
    case Group::Authoring: return QT_TRANSLATE_NOOP("app::CommandLine", "Authoring");
    case Group::Information: return QT_TRANSLATE_NOOP("app::CommandLine", "Information");
    }
    return "";
}

} // namespace

QString CommandLine::groupTitle(Group group)
{
    return QString::fromUtf8(titleOf(group));
}

QString CommandLine::manualOptions()
{
    QString text;
    for (Group group : kGroups) {
        text += QStringLiteral(".SS ") + groupTitle(group) + u'\n';
        for (const Option& option : kOptions) {
            if (option.group != group)
                continue;
            QString flags = roff(QStringLiteral("--") + QLatin1String(option.name));
            if (option.alias)
                flags = roff(QStringLiteral("-") + QLatin1String(option.alias)) + QStringLiteral(", ") + flags;
            text += QStringLiteral(".TP\n");
            if (option.value)
                text += QStringLiteral(".BI \"%1 \" %2\n").arg(flags, roff(QLatin1String(option.value)));
            else
                text += QStringLiteral(".B \"%1\"\n").arg(flags);
            text += roff(QString::fromUtf8(option.details ? option.details : option.description)) + u'\n';
        }
    }
    return text;
}

QString CommandLine::help() const
{
    qsizetype column = 0;
    for (const Option& option : kOptions)
        column = std::max(column, optionLabel(option).size());
    QString text = usage() + u'\n'
                   + say(QT_TRANSLATE_NOOP("app::CommandLine",
                                           "Plays point-and-click adventure games made with Storyloom.\n"
                                           "GAME_DIR is the game folder (the one that holds Config/General). Without it the player\n"
                                           "plays the game in its own folder, or else opens a window to choose a game.\n"));
    for (Group group : kGroups) {
        QString lines;
        for (const Option& option : kOptions) {
            if (option.group == group)
                lines += QStringLiteral("  ") + optionLabel(option).leftJustified(column + 2) + say(option.description) + u'\n';
        }
        if (!lines.isEmpty())
            text += u'\n' + say(titleOf(group)) + QStringLiteral(":\n") + lines;
    }
    return text;
}

} // namespace app
