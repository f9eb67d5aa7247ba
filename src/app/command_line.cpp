#include "app/command_line.h"

#include <QCommandLineOption>

#include <algorithm>

namespace app {

namespace {

using Group = CommandLine::Group;

// One line per option: adding an option to a group is adding its line here.
const std::vector<CommandLine::Option> kOptions = {
    {Group::Playing, "windowed", nullptr, "Start the game in a window (Alt+Enter switches to full screen)."},
    {Group::Playing, "fullscreen", nullptr, "Start the game full screen, as it starts by default (Alt+Enter switches)."},
    {Group::Playing, "mute", nullptr, "Play without sound; music and sounds keep their timings."},
    {Group::Playing, "soundfont", "FILE", "The General MIDI soundfont for MIDI music (default: Debian's timgm6mb-soundfont).",
     "The General MIDI soundfont for MIDI music, an SF2 or SF3 file (default: the one of Debian's timgm6mb-soundfont package)."},
    {Group::Playing, "codepage", "NAME", "The code page of the game's text (default windows-1252).",
     "The code page of the game's text: windows-1252 (the default), windows-1251, windows-1250, Shift_JIS and the others Qt knows."},
    {Group::Playing, "settings", "DIR", "Keep the per-user settings in this folder (a headless run otherwise uses a temporary one).",
     "Keep the per-user settings in DIR instead of $XDG_CONFIG_HOME/loomplay; a headless run not told where keeps them in a "
     "temporary folder of its own."},
    {Group::Playing, "mount-table", "FILE", "A mount table (as /proc/mounts) to take the drive letters of CD games from.",
     "Take the drive letters of CD games from a mount table in the form of /proc/mounts instead of this system's."},
    {Group::Playing, "verbose", nullptr, "Also print each frame opened and each media file played."},
    {Group::ScriptedPlay, "headless", nullptr, "Play a script without a screen; print JSON lines.",
     "Play a script without a screen, on a virtual clock, and print one JSON object a line for every message box, media call, "
     "dump and picture."},
    {Group::ScriptedPlay, "script", "FILE", "The script to play."},
    {Group::ScriptedPlay, "shots", "DIR", "The folder for the pictures of 'shot' lines."},
    {Group::ScriptedPlay, "screen", "WxH", "The screen size a headless run pretends to have (default 1024x768)."},
    {Group::ScriptedPlay, "dpi", "N", "The logical DPI a headless run pretends its desktop has (above 96: large fonts)."},
    {Group::ScriptedPlay, "start-time", "YYYY-MM-DDTHH:MM:SS", "Where the virtual clock starts (default: now)."},
    {Group::Authoring, "debug", nullptr, "Offer a Debug menu of the game's frames in the game window."},
    {Group::Authoring, "check", nullptr, "Check the game for its author: print what is wrong, open no window.",
     "Check the game for its author and open no window: every file the player reads, field by field, links that lead nowhere, "
     "media missing or that the player cannot decode. Each finding is one line: the file, where in it, and what is wrong; "
     "warnings say warning: after the file. The exit status is 1 when there are errors."},
    {Group::Authoring, "json", nullptr, "With --check: print the findings as JSON lines.",
     "With --check: print the findings as JSON lines, objects of file, where, severity and message."},
    {Group::Authoring, "map", "FILE", "With --check: draw the frames as a graph (.svg or .dot).",
     "With --check: draw the frames and the ways between them as a graph, Graphviz's text for a FILE ending in .dot, laid out "
     "by Graphviz's dot program for one ending in .svg."},
    {Group::Authoring, "record", "FILE", "Write the player's input as a script of the scripted-play language.",
     "Write the player's input as a script of the scripted-play language, ending with an expect line of the state the run "
     "ended in; played with --headless --script it reaches that state or fails."},
    {Group::Information, "help", nullptr, "Show this help and exit.", "Show the options, group by group, and exit.", "h"},
    {Group::Information, "version", nullptr, "Show the player's version and exit."},
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

CommandLine::CommandLine()
{
    for (const Option& option : kOptions) {
        QStringList names{QLatin1String(option.name)};
        if (option.alias)
            names.prepend(QLatin1String(option.alias));
        QCommandLineOption qtOption(names, QString::fromUtf8(option.description));
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
        return false;
    }
    return true;
}

QString CommandLine::usage()
{
    return QStringLiteral("Usage: loomplay [OPTION]... [GAME_DIR]");
}

QString CommandLine::groupTitle(Group group)
{
    switch (group) {
    case Group::Playing: return QStringLiteral("Playing");
    case Group::ScriptedPlay: return QStringLiteral("Scripted play");
    case Group::Authoring: return QStringLiteral("Authoring");
    case Group::Information: return QStringLiteral("Information");
    }
    return {};
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

QString CommandLine::help()
{
    qsizetype column = 0;
    for (const Option& option : kOptions)
        column = std::max(column, optionLabel(option).size());
    QString text = usage() + QStringLiteral("\n"
                                            "Plays point-and-click adventure games made with Storyloom.\n"
                                            "GAME_DIR is the game folder (the one that holds Config/General). Without it the player\n"
                                            "plays the game in its own folder, or else opens a window to choose a game.\n");
    for (Group group : kGroups) {
        QString lines;
        for (const Option& option : kOptions) {
            if (option.group == group)
                lines += QStringLiteral("  ") + optionLabel(option).leftJustified(column + 2) + QString::fromUtf8(option.description) + u'\n';
        }
        if (!lines.isEmpty())
            text += u'\n' + groupTitle(group) + QStringLiteral(":\n") + lines;
    }
    return text;
}

} // namespace app
