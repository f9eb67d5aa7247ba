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
    {Group::Playing, "soundfont", "FILE", "The General MIDI soundfont for MIDI music (default: Debian's timgm6mb-soundfont)."},
    {Group::Playing, "codepage", "NAME", "The code page of the game's text (default windows-1252)."},
    {Group::Playing, "settings", "DIR", "Keep the per-user settings in this folder (a headless run otherwise uses a temporary one)."},
    {Group::Playing, "mount-table", "FILE", "A mount table (as /proc/mounts) to take the drive letters of CD games from."},
    {Group::Playing, "verbose", nullptr, "Also print each frame opened and each media file played."},
    {Group::ScriptedPlay, "headless", nullptr, "Play a script without a screen; print JSON lines."},
    {Group::ScriptedPlay, "script", "FILE", "The script to play."},
    {Group::ScriptedPlay, "shots", "DIR", "The folder for the pictures of 'shot' lines."},
    {Group::ScriptedPlay, "screen", "WxH", "The screen size a headless run pretends to have (default 1024x768)."},
    {Group::ScriptedPlay, "dpi", "N", "The logical DPI a headless run pretends its desktop has (above 96: large fonts)."},
    {Group::ScriptedPlay, "start-time", "YYYY-MM-DDTHH:MM:SS", "Where the virtual clock starts (default: now)."},
    {Group::Authoring, "debug", nullptr, "Offer a Debug menu of the game's frames in the game window."},
    {Group::Authoring, "check", nullptr, "Check the game for its author: print what is wrong, open no window."},
    {Group::Authoring, "json", nullptr, "With --check: print the findings as JSON lines."},
    {Group::Authoring, "map", "FILE", "With --check: draw the frames as a graph (.svg or .dot)."},
    {Group::Authoring, "record", "FILE", "Write the player's input as a script of the scripted-play language."},
    {Group::Information, "help", nullptr, "Show this help and exit.", "h"},
    {Group::Information, "version", nullptr, "Show the player's version and exit."},
};

constexpr Group kGroups[] = {Group::Playing, Group::ScriptedPlay, Group::Authoring, Group::Information};

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
