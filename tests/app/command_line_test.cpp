#include "app/command_line.h"
#include "support/game_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <memory>

using app::CommandLine;
using testsupport::GameFolder;

namespace {

// The player's own program, started as from a terminal.
struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

Outcome runPlayer(const QStringList& arguments, const std::map<QString, QString>& environment = {})
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
    const QString help = CommandLine().help();
    EXPECT_TRUE(help.startsWith(CommandLine().usage() + u'\n'));
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
    const QString help = CommandLine().help();
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
    const Outcome version = runPlayer({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("loomplay " LOOM_VERSION "\n"));
    const Outcome help = runPlayer({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out, CommandLine().help());
    EXPECT_TRUE(help.err.isEmpty());
}

TEST(ExitStatus, AnUnknownOptionIsTwoWithTheUsage)
{
    const Outcome r = runPlayer({QStringLiteral("--fly"), QStringLiteral("/tmp")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: Unknown option 'fly'.\n") + kUsage);
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(ExitStatus, AMissingValueIsTwoWithTheUsage)
{
    const Outcome r = runPlayer({QStringLiteral("--soundfont")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: Missing value after '--soundfont'.\n") + kUsage);
}

TEST(ExitStatus, TwoGameFoldersOrTwoWindowModesAreTwo)
{
    const Outcome folders = runPlayer({QStringLiteral("/a"), QStringLiteral("/b")});
    EXPECT_EQ(folders.exitCode, 2);
    EXPECT_EQ(folders.err, QStringLiteral("loomplay: one game folder at a time: /a /b\n") + kUsage);
    const Outcome modes = runPlayer({QStringLiteral("--windowed"), QStringLiteral("--fullscreen"), QStringLiteral("/a")});
    EXPECT_EQ(modes.exitCode, 2);
    EXPECT_EQ(modes.err, QStringLiteral("loomplay: --windowed and --fullscreen exclude each other\n") + kUsage);
}

TEST(ExitStatus, AGameFolderThatDoesNotExistIsTwo)
{
    QTemporaryDir dir;
    const QString missing = QDir(dir.path()).filePath(QStringLiteral("no such game"));
    const Outcome r = runPlayer({missing});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: The folder %1 does not exist.\n").arg(missing));
    // Headless too.
    const Outcome headless = runPlayer({QStringLiteral("--headless"), QStringLiteral("--script"), QStringLiteral("/dev/null"), missing});
    EXPECT_EQ(headless.exitCode, 2);
    EXPECT_EQ(headless.err, r.err);
}

TEST(ExitStatus, AFolderThatIsNotAGameIsTwoNamingWhatIsMissing)
{
    GameFolder notAGame;
    notAGame.variables({});
    const Outcome r = runPlayer({notAGame.path()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: No Config/General file in %1: it is not a Storyloom game folder.\n").arg(notAGame.path()));
    GameFolder file;
    file.general();
    const Outcome onAFile = runPlayer({file.file(QStringLiteral("Config/General"))});
    EXPECT_EQ(onAFile.exitCode, 2);
    EXPECT_EQ(onAFile.err, QStringLiteral("loomplay: %1 is a file, not a game folder.\n").arg(file.file(QStringLiteral("Config/General"))));
}

TEST(ExitStatus, ABadValueIsTwo)
{
    GameFolder game;
    game.general();
    const Outcome r = runPlayer({QStringLiteral("--codepage"), QStringLiteral("klingon"), game.path()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("loomplay: "))) << r.err.toStdString();
}

TEST(ExitStatus, JsonOrMapWithoutCheckIsTwoWithTheUsage)
{
    const Outcome json = runPlayer({QStringLiteral("--json"), QStringLiteral(LOOM_DEMO_DIR)});
    EXPECT_EQ(json.exitCode, 2);
    EXPECT_EQ(json.err, QStringLiteral("loomplay: --json goes with --check\n") + kUsage);
    const Outcome map = runPlayer({QStringLiteral("--headless"), QStringLiteral("--script"), QStringLiteral("/dev/null"), QStringLiteral("--map"),
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
    const Outcome r = runPlayer({QStringLiteral("--headless"), QStringLiteral("--script"), QStringLiteral("/dev/null"), QStringLiteral("--soundfont"), wave,
                           QStringLiteral(LOOM_DEMO_DIR)});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: the soundfont %1 is not an SF2 or SF3 file\n").arg(wave));
}

// A window needs a display: without one the player says so in its own
// line, rather than Qt aborting.
TEST(ExitStatus, WithoutADisplayPlayingIsTwoInOneLine)
{
    const Outcome r = runPlayer({QStringLiteral(LOOM_DEMO_DIR)});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: no display to open a window on (DISPLAY and WAYLAND_DISPLAY are not set); "
                                    "--headless --script FILE plays a game without one\n"));
    const Outcome x = runPlayer({QStringLiteral(LOOM_DEMO_DIR)}, {{QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb")}});
    EXPECT_EQ(x.exitCode, 2);
    EXPECT_EQ(x.err, QStringLiteral("loomplay: no display to open a window on (DISPLAY is not set); --headless --script FILE plays a game without one\n"));
}

TEST(ExitStatus, ADisplayThatCannotBeOpenedIsTwoInOneLine)
{
    // No X server listens on so high a display number.
    const Outcome r = runPlayer({QStringLiteral(LOOM_DEMO_DIR)}, {{QStringLiteral("DISPLAY"), QStringLiteral(":4093")}});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err, QStringLiteral("loomplay: the display cannot be opened (DISPLAY=:4093); --headless --script FILE plays a game without one\n"));
}

namespace {

// The options of one command line, checked together and taken into the
// run's choices as the player does before it starts.
class CommandLineValidate : public ::testing::Test {
protected:
    void SetUp() override { game.general(); }

    bool validate(QStringList arguments)
    {
        arguments.prepend(QStringLiteral("loomplay"));
        line = std::make_unique<CommandLine>();
        EXPECT_TRUE(line->parse(arguments)) << line->error().toStdString();
        return line->validate();
    }
    // Whether the value is refused for the option, with the message given
    // and no usage after it: the command line is right, the value is not.
    void expectRefused(const QString& option, const QString& value, const QString& message)
    {
        EXPECT_FALSE(validate({option, value, game.path()})) << option.toStdString() << ' ' << value.toStdString();
        EXPECT_EQ(line->error(), message) << value.toStdString();
        EXPECT_FALSE(line->errorShowsUsage());
        EXPECT_EQ(line->errorText(), QStringLiteral("loomplay: %1\n").arg(message));
    }
    const CommandLine::Choices& choices() const { return line->choices(); }
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(work.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    GameFolder game;
    QTemporaryDir work;
    std::unique_ptr<CommandLine> line;
};

} // namespace

TEST_F(CommandLineValidate, HeadlessNeedsAScriptAndSaysSoWithTheUsage)
{
    EXPECT_FALSE(validate({QStringLiteral("--headless"), game.path()}));
    EXPECT_EQ(line->error(), QStringLiteral("--headless needs --script FILE"));
    EXPECT_TRUE(line->errorShowsUsage());
    EXPECT_EQ(line->errorText(), QStringLiteral("loomplay: --headless needs --script FILE\n") + kUsage);
}

TEST_F(CommandLineValidate, ACodePageMustBeOneQtKnows)
{
    expectRefused(QStringLiteral("--codepage"), QStringLiteral("klingon"), QStringLiteral("Unknown code page 'klingon'."));
    ASSERT_TRUE(validate({QStringLiteral("--codepage"), QStringLiteral("windows-1251"), game.path()}));
    EXPECT_EQ(choices().options.codePage, QStringLiteral("windows-1251"));
    ASSERT_TRUE(validate({game.path()}));
    EXPECT_EQ(choices().options.codePage, QStringLiteral("windows-1252"));
}

TEST_F(CommandLineValidate, TheScreenIsAWidthByAHeight)
{
    for (const char* bad : {"1024", "0x768", "1024x-1", "wide x high", "1024x768x2", "x768"})
        expectRefused(QStringLiteral("--screen"), QLatin1String(bad), QStringLiteral("--screen takes a size such as 1024x768"));
    ASSERT_TRUE(validate({QStringLiteral("--screen"), QStringLiteral("800x600"), game.path()}));
    EXPECT_EQ(choices().screen, QSize(800, 600));
}

TEST_F(CommandLineValidate, TheDpiIsANumberFrom24To960)
{
    for (const char* bad : {"23.9", "961", "large"})
        expectRefused(QStringLiteral("--dpi"), QLatin1String(bad), QStringLiteral("--dpi takes a number of dots per inch such as 96 or 120"));
    for (double dpi : {24.0, 120.0, 960.0}) {
        ASSERT_TRUE(validate({QStringLiteral("--dpi"), QString::number(dpi), game.path()}));
        EXPECT_EQ(choices().dpi, dpi);
    }
}

TEST_F(CommandLineValidate, TheStartTimeIsADateAndTimeOfTheIsoForm)
{
    for (const char* bad : {"yesterday", "2026-13-01T09:30:00", "31.01.2026 09:30"})
        expectRefused(QStringLiteral("--start-time"), QLatin1String(bad), QStringLiteral("--start-time takes a time such as 2026-01-31T09:30:00"));
    ASSERT_TRUE(validate({QStringLiteral("--start-time"), QStringLiteral("2026-03-01T20:00:00"), game.path()}));
    EXPECT_EQ(choices().options.startTime, QDateTime(QDate(2026, 3, 1), QTime(20, 0)));
}

TEST_F(CommandLineValidate, AMountTableIsReadWhole)
{
    const QString missing = work.filePath(QStringLiteral("no such table"));
    expectRefused(QStringLiteral("--mount-table"), missing, QStringLiteral("cannot read the mount table %1").arg(missing));
    const QByteArray mounts = "/dev/sr0 /media/cdrom iso9660 ro 0 0\n";
    ASSERT_TRUE(validate({QStringLiteral("--mount-table"), writeFile(QStringLiteral("mounts"), mounts), game.path()}));
    EXPECT_EQ(choices().options.mountTable, QString::fromLatin1(mounts));
}

TEST_F(CommandLineValidate, AHeadlessRunsScriptMustBeReadableAndIsLeftOpen)
{
    const QString missing = work.filePath(QStringLiteral("no such script"));
    EXPECT_FALSE(validate({QStringLiteral("--headless"), QStringLiteral("--script"), missing, game.path()}));
    EXPECT_EQ(line->errorText(), QStringLiteral("loomplay: cannot read the script %1\n").arg(missing));
    const QString script = writeFile(QStringLiteral("script.txt"), "dump\n");
    ASSERT_TRUE(validate({QStringLiteral("--headless"), QStringLiteral("--script"), script, game.path()}));
    ASSERT_TRUE(choices().script);
    EXPECT_EQ(choices().script->readLine(), QByteArray("dump\n"));
}

TEST_F(CommandLineValidate, ARunOnScreenLeavesTheScriptUnread)
{
    ASSERT_TRUE(validate({QStringLiteral("--script"), work.filePath(QStringLiteral("no such script")), game.path()}));
    EXPECT_FALSE(choices().script);
}

TEST_F(CommandLineValidate, ASoundfontIsTakenByItsFullPathAndMustBeOne)
{
    const QString wave = writeFile(QStringLiteral("tune.sf2"), QByteArray("RIFF\x04\0\0\0WAVE", 12));
    expectRefused(QStringLiteral("--soundfont"), wave, QStringLiteral("the soundfont %1 is not an SF2 or SF3 file").arg(wave));
    writeFile(QStringLiteral("font.sf2"), QByteArray("RIFF\x04\0\0\0sfbk", 12));
    const QString startedIn = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.path()));
    const bool valid = validate({QStringLiteral("--soundfont"), QStringLiteral("font.sf2"), game.path()});
    QDir::setCurrent(startedIn);
    ASSERT_TRUE(valid) << line->error().toStdString();
    EXPECT_EQ(choices().options.soundFont, work.filePath(QStringLiteral("font.sf2")));
}

TEST_F(CommandLineValidate, SwitchesAndNamesReachTheRun)
{
    ASSERT_TRUE(validate({QStringLiteral("--windowed"), QStringLiteral("--mute"), QStringLiteral("--debug"), QStringLiteral("--verbose"),
                          QStringLiteral("--record"), QStringLiteral("out.txt"), QStringLiteral("--shots"), QStringLiteral("shots"),
                          QStringLiteral("--settings"), QStringLiteral("config"), game.path()}));
    const CommandLine::Choices& c = choices();
    EXPECT_FALSE(c.options.fullScreen);
    EXPECT_TRUE(c.options.mute);
    EXPECT_TRUE(c.options.debug);
    EXPECT_TRUE(c.verbose);
    EXPECT_EQ(c.record, QStringLiteral("out.txt"));
    EXPECT_EQ(c.shots, QStringLiteral("shots"));
    EXPECT_EQ(c.settings, QStringLiteral("config"));
    EXPECT_EQ(c.options.projectDir, QDir(game.path()).absolutePath());
    EXPECT_FALSE(c.headless || c.checking || c.options.scripted);

    ASSERT_TRUE(validate({game.path()}));
    EXPECT_TRUE(choices().options.fullScreen);
    EXPECT_FALSE(choices().options.mute || choices().options.debug || choices().verbose);
}

TEST_F(CommandLineValidate, SpeechIsOffAndTheFocusRingOnUnlessToldOtherwise)
{
    ASSERT_TRUE(validate({game.path()}));
    EXPECT_FALSE(choices().options.speech);
    EXPECT_TRUE(choices().options.focusRing);
    ASSERT_TRUE(validate({QStringLiteral("--speech"), QStringLiteral("--no-focus-ring"), game.path()}));
    EXPECT_TRUE(choices().options.speech);
    EXPECT_FALSE(choices().options.focusRing);
}

TEST_F(CommandLineValidate, AHeadlessRunPretendsACommonScreenUnlessToldAnother)
{
    const QString script = writeFile(QStringLiteral("script.txt"), "");
    ASSERT_TRUE(validate({QStringLiteral("--headless"), QStringLiteral("--script"), script, game.path()}));
    EXPECT_TRUE(choices().headless && choices().options.scripted);
    EXPECT_EQ(choices().screen, QSize(1024, 768));
    EXPECT_EQ(choices().dpi, 96.0);
    ASSERT_TRUE(validate({QStringLiteral("--headless"), QStringLiteral("--script"), script, QStringLiteral("--screen"), QStringLiteral("640x480"),
                          QStringLiteral("--dpi"), QStringLiteral("120"), game.path()}));
    EXPECT_EQ(choices().screen, QSize(640, 480));
    EXPECT_EQ(choices().dpi, 120.0);
    // On screen, the real screen's.
    ASSERT_TRUE(validate({game.path()}));
    EXPECT_FALSE(choices().screen);
    EXPECT_FALSE(choices().dpi);
}

TEST_F(CommandLineValidate, ACheckReadsOnlyItsOwnOptionsTheCodePageAndTheMountTable)
{
    const QString missing = work.filePath(QStringLiteral("missing"));
    ASSERT_TRUE(validate({QStringLiteral("--check"), QStringLiteral("--json"), QStringLiteral("--map"), QStringLiteral("map.dot"),
                          QStringLiteral("--settings"), QStringLiteral("config"), QStringLiteral("--screen"), QStringLiteral("0x0"),
                          QStringLiteral("--dpi"), QStringLiteral("1"), QStringLiteral("--soundfont"), missing, QStringLiteral("--start-time"),
                          QStringLiteral("never"), game.path()}))
        << line->error().toStdString();
    EXPECT_TRUE(choices().checking && choices().headless);
    EXPECT_TRUE(choices().json);
    EXPECT_EQ(choices().map, QStringLiteral("map.dot"));
    EXPECT_EQ(choices().settings, QStringLiteral("config"));
    EXPECT_FALSE(validate({QStringLiteral("--check"), QStringLiteral("--codepage"), QStringLiteral("klingon"), game.path()}));
    EXPECT_EQ(line->error(), QStringLiteral("Unknown code page 'klingon'."));
    // The drives of a CD game are where the check looks for its folders.
    EXPECT_FALSE(validate({QStringLiteral("--check"), QStringLiteral("--mount-table"), missing, game.path()}));
    EXPECT_EQ(line->error(), QStringLiteral("cannot read the mount table %1").arg(missing));
    // Options that cannot go together are wrong for a check too.
    EXPECT_FALSE(validate({QStringLiteral("--check"), QStringLiteral("--windowed"), QStringLiteral("--fullscreen"), game.path()}));
    EXPECT_TRUE(line->errorShowsUsage());
}

TEST_F(CommandLineValidate, AFolderThatIsNoGameIsRefusedOnlyWhereItCannotBePlayed)
{
    GameFolder notAGame;
    notAGame.variables({});
    EXPECT_FALSE(validate({notAGame.path()}));
    EXPECT_EQ(line->errorText(), QStringLiteral("loomplay: No Config/General file in %1: it is not a Storyloom game folder.\n").arg(notAGame.path()));
    // A headless run plays whatever the folder holds, as the game's own
    // start-up would; a check says itself what is wrong.
    const QString script = writeFile(QStringLiteral("script.txt"), "");
    EXPECT_TRUE(validate({QStringLiteral("--headless"), QStringLiteral("--script"), script, notAGame.path()}));
    EXPECT_EQ(choices().options.projectDir, notAGame.path());
    const QString missing = work.filePath(QStringLiteral("no such game"));
    EXPECT_TRUE(validate({QStringLiteral("--check"), missing}));
    EXPECT_FALSE(validate({QStringLiteral("--headless"), QStringLiteral("--script"), script, missing}));
    // Without a folder the program's own folder is decided later.
    EXPECT_TRUE(validate({}));
    EXPECT_TRUE(choices().options.projectDir.isEmpty());
}

TEST_F(CommandLineValidate, ATestRunNamesTheGameThenItsScriptsAndShowsNothing)
{
    ASSERT_TRUE(validate({QStringLiteral("--test"), game.path(), QStringLiteral("walk"), QStringLiteral("tests/hint.test")}));
    EXPECT_TRUE(choices().testing);
    EXPECT_TRUE(choices().headless);
    EXPECT_EQ(choices().options.projectDir, QDir(game.path()).absolutePath());
    EXPECT_EQ(choices().testScripts, (QStringList{QStringLiteral("walk"), QStringLiteral("tests/hint.test")}));
    ASSERT_TRUE(validate({QStringLiteral("--test"), QStringLiteral("--junit"), QStringLiteral("report.xml"), QStringLiteral("--stop-on-fail"), game.path()}));
    EXPECT_TRUE(choices().testScripts.isEmpty());
    EXPECT_EQ(choices().junit, QStringLiteral("report.xml"));
    EXPECT_TRUE(choices().stopOnFail);
}

TEST_F(CommandLineValidate, TestingAndExpectingOptionsGoOnlyWithWhatTheyServe)
{
    const std::vector<std::pair<QStringList, QString>> refused = {
        {{QStringLiteral("--test")}, QStringLiteral("--test needs the game folder")},
        {{QStringLiteral("--test"), QStringLiteral("--headless"), QStringLiteral("--script"), QStringLiteral("/dev/null"), game.path()},
         QStringLiteral("--test plays its scripts itself: it goes without --headless")},
        {{QStringLiteral("--test"), QStringLiteral("--check"), game.path()}, QStringLiteral("--test plays its scripts itself: it goes without --check")},
        {{QStringLiteral("--junit"), QStringLiteral("report.xml"), game.path()}, QStringLiteral("--junit goes with --test")},
        {{QStringLiteral("--expect-end"), game.path()}, QStringLiteral("--expect-end goes with --record")},
        {{QStringLiteral("--stop-on-fail"), game.path()}, QStringLiteral("--stop-on-fail goes with --script or --test")},
        {{game.path(), game.path()}, QStringLiteral("one game folder at a time: %1 %1").arg(game.path())},
    };
    for (const auto& [arguments, message] : refused) {
        EXPECT_FALSE(validate(arguments)) << arguments.join(u' ').toStdString();
        EXPECT_EQ(line->error(), message);
        EXPECT_TRUE(line->errorShowsUsage());
    }
    ASSERT_TRUE(validate({QStringLiteral("--record"), work.filePath(QStringLiteral("r.txt")), QStringLiteral("--expect-end"), game.path()}));
    EXPECT_TRUE(choices().expectEnd);
}
