#include "app/command_line.h"
#include "support/game_folder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using app::CommandLine;
using testsupport::GameFolder;

namespace {

// The player's own program, started as from a terminal.
struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome run(const QStringList& arguments, const std::map<QString, QString>& environment = {})
{
    QTemporaryDir startedIn;
    QTemporaryDir settings;
    QProcess player;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
    // No display at all, nor a Wayland socket where one is looked for:
    // what is checked here needs none.
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), settings.path());
    for (const auto& [name, value] : environment)
        env.insert(name, value);
    player.setProcessEnvironment(env);
    player.setWorkingDirectory(startedIn.path());
    player.start(QStringLiteral(LOOM_PLAYER), arguments);
    if (!player.waitForFinished(30000)) {
        player.kill();
        player.waitForFinished();
        return {};
    }
    return {player.exitCode(), QString::fromLocal8Bit(player.readAllStandardOutput()), QString::fromLocal8Bit(player.readAllStandardError())};
}

// The part of the help under one group's title.
QString section(const QString& help, CommandLine::Group group)
{
    const QString title = u'\n' + CommandLine::groupTitle(group) + QStringLiteral(":\n");
    const qsizetype start = help.indexOf(title);
    if (start < 0)
        return {};
    const qsizetype end = help.indexOf(QStringLiteral("\n\n"), start + title.size());
    return help.mid(start + title.size(), end < 0 ? -1 : end - start - title.size());
}

const QString kUsage = QStringLiteral("Usage: loomplay [OPTION]... [GAME_DIR] (loomplay --help lists the options)\n");

} // namespace

TEST(CommandLineHelp, ListsEveryOptionUnderItsGroupInOrder)
{
    const QString help = CommandLine::help();
    EXPECT_TRUE(help.startsWith(CommandLine::usage() + u'\n'));
    for (const CommandLine::Option& option : CommandLine::options()) {
        const QString lines = section(help, option.group);
        EXPECT_TRUE(lines.contains(QStringLiteral("--%1").arg(QLatin1String(option.name))))
            << option.name << " is not under " << CommandLine::groupTitle(option.group).toStdString();
        EXPECT_TRUE(lines.contains(QString::fromUtf8(option.description))) << option.name;
    }
    EXPECT_LT(help.indexOf(QStringLiteral("\nPlaying:\n")), help.indexOf(QStringLiteral("\nScripted play:\n")));
    EXPECT_LT(help.indexOf(QStringLiteral("\nScripted play:\n")), help.indexOf(QStringLiteral("\nAuthoring:\n")));
    EXPECT_TRUE(section(help, CommandLine::Group::Playing).contains(QStringLiteral("--soundfont FILE")));
    EXPECT_TRUE(section(help, CommandLine::Group::Authoring).contains(QStringLiteral("--debug")));
    EXPECT_TRUE(section(help, CommandLine::Group::Information).contains(QStringLiteral("-h, --help")));
}

TEST(CommandLineHelp, DescriptionsStartInOneColumn)
{
    const QString help = CommandLine::help();
    qsizetype column = -1;
    for (const CommandLine::Option& option : CommandLine::options()) {
        const QString description = QString::fromUtf8(option.description);
        for (const QString& line : help.split(u'\n')) {
            if (!line.endsWith(description))
                continue;
            const qsizetype at = line.size() - description.size();
            if (column < 0)
                column = at;
            EXPECT_EQ(at, column) << option.name;
        }
    }
}

TEST(CommandLineParse, TakesOptionsWithTheirValuesAndTheFolder)
{
    CommandLine line;
    ASSERT_TRUE(line.parse({QStringLiteral("loomplay"), QStringLiteral("--windowed"), QStringLiteral("--soundfont=/x.sf2"),
                            QStringLiteral("--codepage"), QStringLiteral("windows-1251"), QStringLiteral("/games/one")}));
    EXPECT_TRUE(line.isSet(QStringLiteral("windowed")));
    EXPECT_FALSE(line.isSet(QStringLiteral("mute")));
    EXPECT_EQ(line.value(QStringLiteral("soundfont")), QStringLiteral("/x.sf2"));
    EXPECT_EQ(line.value(QStringLiteral("codepage")), QStringLiteral("windows-1251"));
    EXPECT_EQ(line.positional(), QStringList{QStringLiteral("/games/one")});
}

TEST(CommandLineParse, AnUnknownOptionOrAMissingValueIsSaidInOneLine)
{
    CommandLine line;
    EXPECT_FALSE(line.parse({QStringLiteral("loomplay"), QStringLiteral("--fly")}));
    EXPECT_EQ(line.error(), QStringLiteral("Unknown option 'fly'."));
    EXPECT_FALSE(line.parse({QStringLiteral("loomplay"), QStringLiteral("--headless"), QStringLiteral("--script")}));
    EXPECT_EQ(line.error(), QStringLiteral("Missing value after '--script'."));
}

TEST(ExitStatus, VersionAndHelpNeedNoDisplay)
{
    const Outcome version = run({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("loomplay " LOOM_VERSION "\n"));
    const Outcome help = run({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, CommandLine::help());
    EXPECT_TRUE(help.err.isEmpty());
}

TEST(ExitStatus, AnUnknownOptionIsTwoWithTheUsage)
{
    const Outcome r = run({QStringLiteral("--fly"), QStringLiteral("/tmp")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: Unknown option 'fly'.\n") + kUsage);
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(ExitStatus, AMissingValueIsTwoWithTheUsage)
{
    const Outcome r = run({QStringLiteral("--soundfont")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: Missing value after '--soundfont'.\n") + kUsage);
}

TEST(ExitStatus, TwoGameFoldersOrTwoWindowModesAreTwo)
{
    const Outcome folders = run({QStringLiteral("/a"), QStringLiteral("/b")});
    EXPECT_EQ(folders.exitCode, 2);
    EXPECT_EQ(folders.err, QStringLiteral("loomplay: one game folder at a time: /a /b\n") + kUsage);
    const Outcome modes = run({QStringLiteral("--windowed"), QStringLiteral("--fullscreen"), QStringLiteral("/a")});
    EXPECT_EQ(modes.exitCode, 2);
    EXPECT_EQ(modes.err, QStringLiteral("loomplay: --windowed and --fullscreen exclude each other\n") + kUsage);
}

TEST(ExitStatus, AGameFolderThatDoesNotExistIsTwo)
{
    QTemporaryDir dir;
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("no such game"));
    const Outcome r = run({missing});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: The folder %1 does not exist.\n").arg(missing));
    // Headless too.
    const Outcome headless = run({QStringLiteral("--headless"), QStringLiteral("--script"), QStringLiteral("/dev/null"), missing});
    EXPECT_EQ(headless.exitCode, 2);
    EXPECT_EQ(headless.err, r.err);
}

TEST(ExitStatus, AFolderThatIsNotAGameIsTwoNamingWhatIsMissing)
{
    GameFolder notAGame;
    notAGame.variables({});
    const Outcome r = run({notAGame.path()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: No Config/General file in %1: it is not a Storyloom game folder.\n").arg(notAGame.path()));
    GameFolder file;
    file.general();
    const Outcome onAFile = run({file.file(QStringLiteral("Config/General"))});
    EXPECT_EQ(onAFile.exitCode, 2);
    EXPECT_EQ(onAFile.err, QStringLiteral("loomplay: %1 is a file, not a game folder.\n").arg(file.file(QStringLiteral("Config/General"))));
}

TEST(ExitStatus, ABadValueIsTwo)
{
    GameFolder game;
    game.general();
    const Outcome r = run({QStringLiteral("--codepage"), QStringLiteral("klingon"), game.path()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("loomplay: "))) << r.err.toStdString();
}

TEST(ExitStatus, JsonOrMapWithoutCheckIsTwoWithTheUsage)
{
    const Outcome json = run({QStringLiteral("--json"), QStringLiteral(LOOM_DEMO_DIR)});
    EXPECT_EQ(json.exitCode, 2);
    EXPECT_EQ(json.err, QStringLiteral("loomplay: --json goes with --check\n") + kUsage);
    const Outcome map = run({QStringLiteral("--headless"), QStringLiteral("--script"), QStringLiteral("/dev/null"), QStringLiteral("--map"),
                             QStringLiteral("map.dot"), QStringLiteral(LOOM_DEMO_DIR)});
    EXPECT_EQ(map.exitCode, 2);
    EXPECT_EQ(map.err, QStringLiteral("loomplay: --map goes with --check\n") + kUsage);
}

TEST(ExitStatus, AFileThatIsNoSoundfontIsTwo)
{
    QTemporaryDir dir;
    // A RIFF file of another form: a wave sound.
    const QString wave = dir.filePath(QStringLiteral("tune.sf2"));
    QFile file(wave);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("RIFF\x04\0\0\0WAVE", 12));
    file.close();
    const Outcome r = run({QStringLiteral("--headless"), QStringLiteral("--script"), QStringLiteral("/dev/null"), QStringLiteral("--soundfont"), wave,
                           QStringLiteral(LOOM_DEMO_DIR)});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: the soundfont %1 is not an SF2 or SF3 file\n").arg(wave));
}

// A window needs a display: without one the player says so in its own
// line, rather than Qt aborting.
TEST(ExitStatus, WithoutADisplayPlayingIsTwoInOneLine)
{
    const Outcome r = run({QStringLiteral(LOOM_DEMO_DIR)});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set); "
                                    "--headless --script FILE plays a game without one\n"));
    const Outcome x = run({QStringLiteral(LOOM_DEMO_DIR)}, {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb")}});
    EXPECT_EQ(x.exitCode, 2);
    EXPECT_EQ(x.err, QStringLiteral("loomplay: no display to open a window on (DISPLAY is not set); --headless --script FILE plays a game without one\n"));
}

TEST(ExitStatus, ADisplayThatCannotBeOpenedIsTwoInOneLine)
{
    // No X server listens on so high a display number.
    const Outcome r = run({QStringLiteral(LOOM_DEMO_DIR)}, {{QStringLiteral("DISPLAY"), QStringLiteral(":4093")}});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: the display cannot be opened (DISPLAY=:4093); --headless --script FILE plays a game without one\n"));
}
