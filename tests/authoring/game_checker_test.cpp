#include "authoring/frame_map.h"
#include "authoring/game_checker.h"
#include "demo/authoring.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;

// A line among the lines, and a line's beginning, with the lines shown when not.
#define EXPECT_CONTAINS(lines, line) EXPECT_TRUE((lines).contains(line)) << (lines).join(u'\n').toStdString()
#define EXPECT_STARTS(text, start) EXPECT_TRUE((text).startsWith(QString::fromUtf8(start))) << (text).toStdString()

namespace {

// The player's own program with --check, as an author runs it.
struct CheckRun {
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

CheckRun runCheck(const QString& game, const QStringList& options = {})
{
    QTemporaryDir settings;
    QProcess player;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings.path());
    player.setProcessEnvironment(env);
    player.setWorkingDirectory(settings.path());
    player.start(QStringLiteral(LOOM_PLAYER), QStringList{QStringLiteral("--check")} + options + QStringList{game});
    CheckRun run;
    if (!player.waitForFinished(60000))
        return run;
    run.exitCode = player.exitCode();
    for (const QString& line : QString::fromUtf8(player.readAllStandardOutput()).split(u'\n')) {
        if (!line.isEmpty())
            run.lines << line;
    }
    run.errors = QString::fromUtf8(player.readAllStandardError());
    return run;
}

// A small game without faults: the start frame's area 1 (a packaged
// picture, a condition) opens the hall; its area 2 holds a key to pick up.
class GameChecker : public testing::Test {
protected:
    void SetUp() override
    {
        game.general();
        game.variables({"Lamp"});
        game.frame(QStringLiteral("Start"));
        game.frame(QStringLiteral("Hall"));
        game.write(QStringLiteral("Frames/Start.lks"), {{2}});
        game.picture(QStringLiteral("Areas/door.004"), 8, 8);
        game.area(QStringLiteral("Start"), 1, 0, 0, 900, 900, QStringLiteral("door.bmp"), false, QString(), {"Lamp"});
        action(1, demo::ActionRecord{}.set(12, 1).set(13, "Hall"));
        game.area(QStringLiteral("Start"), 2, 900, 0, 900, 900);
        game.write(QStringLiteral("Areas/Start/2c.dat"), {{1, "Key"}});
        game.write(QStringLiteral("Areas/Key.obj"), {{"key.bmp"}});
        game.picture(QStringLiteral("Areas/key.bmp"), 32, 32);
    }

    void action(int area, const demo::ActionRecord& record)
    {
        game.writeBytes(QStringLiteral("Areas/Start/%1b.dat").arg(area), record.bytes());
    }

    QStringList findings()
    {
        authoring::GameChecker checker(game.path());
        QStringList lines;
        for (const authoring::Finding& f : checker.check())
            lines << f.line();
        return lines;
    }

    GameFolder game;
};

} // namespace

TEST_F(GameChecker, AGameWithoutFaultsChecksCleanAndSaysWhatItRead)
{
    EXPECT_EQ(findings(), QStringList());
    const CheckRun run = runCheck(game.path() + u'/');
    EXPECT_EQ(run.exitCode, 0);
    // Named after its folder, a trailing slash or not.
    EXPECT_EQ(run.lines, QStringList{QStringLiteral("%1: 0 errors, 0 warnings; 2 frames, 2 areas, 1 object").arg(QDir(game.path()).dirName())});
}

TEST_F(GameChecker, TheDemoChecksClean)
{
    const CheckRun run = runCheck(QStringLiteral(LOOM_DEMO_DIR));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines, QStringList{QStringLiteral("demo: 0 errors, 0 warnings; 5 frames, 14 areas, 4 objects")});
}

TEST_F(GameChecker, AFolderWithoutSettingsIsNoGame)
{
    QTemporaryDir empty;
    const CheckRun run = runCheck(empty.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.lines, QStringList());
    EXPECT_EQ(run.errors, QStringLiteral("loomplay: %1 is not a game folder: it has no Config/General\n").arg(empty.path()));
}

// ---------------------------------------------------------------- settings, strings, variables

TEST_F(GameChecker, SettingsCutShortAreAnError)
{
    game.writeBytes(QStringLiteral("Config/General"), "\"KEY\",\"\",\"Game\",0,\"Start\",\"1.0\",640,480,\"A\",\"B\"\r\n");
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Config/General: field 11 is missing: the record is cut short after field 10")}));
    const CheckRun run = runCheck(game.path());
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines, (QStringList{QStringLiteral("Config/General: field 11 is missing: the record is cut short after field 10"),
                                      QStringLiteral("%1: 1 error, 0 warnings; 2 frames, 2 areas, 1 object").arg(QDir(game.path()).dirName())}));
}

TEST_F(GameChecker, SettingsWithTextWhereABooleanBelongs)
{
    game.writeBytes(QStringLiteral("Config/General"), "\"KEY\",\"\",\"Game\",0,\"Start\",\"1.0\",640,480,\"A\",\"B\",\"C\"\r\n1\r\n0,0,0,\"\"\r\n"
                                                      "0,0,maybe,#FALSE#,#FALSE#,0\r\n");
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Config/General: field 19 holds \"maybe\", which is not a Boolean (#TRUE# or #FALSE#)")}));
}

TEST_F(GameChecker, AFrameSizeBeyondSixteenBitsIsAnError)
{
    testsupport::GeneralSettings settings;
    settings.width = 40000;
    game.general(settings);
    EXPECT_EQ(findings(),
                (QStringList{QStringLiteral("Config/General: field 7 holds 40000, which is out of the range of a 16-bit integer (-32768 to 32767)")}));
}

TEST_F(GameChecker, AFrameSizeWhoseTwipsDoNotFitIsAnError)
{
    testsupport::GeneralSettings settings;
    settings.height = 3000;
    game.general(settings);
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Config/General: field 8 gives the game picture a size of 3000 pixels; it must be 1 to 2184")}));
}

TEST_F(GameChecker, AnInitialFrameThatIsNoFrame)
{
    testsupport::GeneralSettings settings;
    settings.initialFrame = QStringLiteral("Begin");
    game.general(settings);
    EXPECT_EQ(findings(),
                (QStringList{QStringLiteral("Config/General: field 5 names the initial frame \"Begin\", which does not exist (frames: Hall, Start)")}));
}

TEST_F(GameChecker, TextsThatAnnounceMoreStringsThanTheyHold)
{
    game.write(QStringLiteral("Config/Texts"), {{2, 0, 0, 0, 0, 0, 3}, {"One"}, {"Two"}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Config/Texts: field 10 is missing: the record is cut short after field 9")}));
}

TEST_F(GameChecker, TextsBeyondTheLastInterfaceString)
{
    QByteArray texts = "2,0,0,0,0,0,61\r\n";
    for (int i = 1; i <= 61; ++i)
        texts += "\"text\"\r\n";
    game.writeBytes(QStringLiteral("Config/Texts"), texts);
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Config/Texts: field 68 would set interface string 61, but the last one is 60")}));
}

TEST_F(GameChecker, TextsOfAnUnknownFormat)
{
    game.write(QStringLiteral("Config/Texts"), {{5}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Config/Texts: field 1 gives the format 5, which is not 0, 1 or 2: the player's captions and messages stay empty")}));
}

TEST_F(GameChecker, AVariablesListCutShort)
{
    game.write(QStringLiteral("Config/Variables"), {{3}, {"Lamp"}, {"Door"}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Config/Variables: field 4 is missing: the record is cut short after field 3")}));
}

TEST_F(GameChecker, AMissingVariablesList)
{
    game.remove(QStringLiteral("Config/Variables"));
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Config/Variables: is missing: the player reports that it cannot load the variables list")}));
}

TEST_F(GameChecker, ANumberFieldHoldingTextIsAWarning)
{
    game.write(QStringLiteral("Config/Variables"), {{"one"}});
    // The count reads 0, so the list declares no variable at all.
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Config/Variables: warning: field 1 should be a number but holds \"one\", which the player reads as 0"),
                                       QStringLiteral("Areas/Start/1a.dat: warning: field 12 (a condition) uses the variable \"Lamp\", "
                                                      "which is not declared in Config/Variables: the player ignores it")}));
}

// ---------------------------------------------------------------- frames

TEST_F(GameChecker, AFrameRecordCutShort)
{
    game.write(QStringLiteral("Frames/Hall.fme"), {{0, "255", false, false, ""}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Frames/Hall.fme: field 6 is missing: the record is cut short after field 5")}));
}

TEST_F(GameChecker, AFrameTimerLongerThanATimerTakes)
{
    game.frame(QStringLiteral("Hall"), {0, "255", false, false, "", true, 70, "Start", "", false});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Frames/Hall.fme: field 7 gives the timer 70 seconds; a timer takes 0 to 65.535")}));
}

TEST_F(GameChecker, ATimerTargetThatIsNoFrame)
{
    game.frame(QStringLiteral("Hall"), {0, "255", false, false, "", true, 5, "Nowhere", "", false});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Frames/Hall.fme: field 8 sends the timer to the frame \"Nowhere\", which does not exist (frames: Hall, Start)")}));
}

TEST_F(GameChecker, ALinksFileBeyondSixteenBits)
{
    game.write(QStringLiteral("Frames/Start.lks"), {{99999}});
    EXPECT_CONTAINS(findings(), (QStringLiteral("Frames/Start.lks: field 1 holds 99999, which is out of the range of a 16-bit integer (-32768 to 32767)")));
}

TEST_F(GameChecker, AnAreaFileMissingForTheLinksCount)
{
    game.write(QStringLiteral("Frames/Start.lks"), {{3}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Areas/Start/3a.dat: is missing: the frame \"Start\" has 3 areas, so the player reports that it cannot load area 3")}));
}

TEST_F(GameChecker, AnAreaFileBeyondTheLinksCountIsAWarning)
{
    game.area(QStringLiteral("Start"), 3, 0, 0, 900, 900);
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Areas/Start/3a.dat: warning: is the file of area 3, but the frame has 2 areas (\"Frames/Start.lks\"): the player never shows it")}));
}

TEST_F(GameChecker, AConditionListCutShort)
{
    game.write(QStringLiteral("Areas/Start/1a.dat"), {{0, 0, 900, 900, 0, 0, "", 0, "default", 1, 2, "Lamp"}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Start/1a.dat: field 13 is missing: the record is cut short after field 12")}));
}

TEST_F(GameChecker, AnActionThatOpensAFrameThatDoesNotExist)
{
    action(1, demo::ActionRecord{}.set(12, 1).set(13, "Hal"));
    EXPECT_EQ(findings(),
                (QStringList{QStringLiteral("Areas/Start/1b.dat: field 13 opens the frame \"Hal\", which does not exist (frames: Hall, Start)"),
                            QStringLiteral("Frames/Hall.fme: warning: the frame \"Hall\" cannot be reached from the initial frame \"Start\" by any action or timer")}));
    const CheckRun run = runCheck(game.path());
    EXPECT_EQ(run.exitCode, 1);
}

TEST_F(GameChecker, AnActionRecordCutShort)
{
    demo::ActionRecord record;
    record.length = 12;
    action(1, record.set(12, 1));
    EXPECT_CONTAINS(findings(), (QStringLiteral("Areas/Start/1b.dat: field 13 is missing: the record is cut short after field 12")));
}

TEST_F(GameChecker, AnActionValueThatIsNeitherNumberNorBoolean)
{
    action(1, demo::ActionRecord{}.set(12, 1).set(13, "Hall").set(10, "abc"));
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Start/1b.dat: field 10 holds \"abc\", which is neither a number nor a Boolean")}));
}

TEST_F(GameChecker, AnActionThatEndsTheGameLinksNowhere)
{
    action(1, demo::ActionRecord{}.set(11, true).set(12, 1).set(13, "Hal"));
    EXPECT_EQ(findings(),
                (QStringList{QStringLiteral("Frames/Hall.fme: warning: the frame \"Hall\" cannot be reached from the initial frame \"Start\" by any action or timer")}));
}

TEST_F(GameChecker, APickRecordNamingAnObjectWithoutFile)
{
    game.write(QStringLiteral("Areas/Start/2c.dat"), {{1, "Lamp"}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Start/2c.dat: field 2 picks up the object \"Lamp\", which has no object file (objects: Key)")}));
}

TEST_F(GameChecker, ATextFileWithAFontSizeThePlayerCannotUse)
{
    game.write(QStringLiteral("Areas/Start/title.lbl"), {{"Hello", 10, 10, false, false, "Arial", 0, false, false, 0}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Areas/Start/title.lbl: field 7 gives a font size the player cannot use (it takes more than 0 and up to 2048)")}));
}

TEST_F(GameChecker, ATextColourThatRoundsPastA32BitInteger)
{
    // 2147483647.5 is in reach of the type until it is rounded to even.
    game.writeBytes(QStringLiteral("Areas/Start/title.lbl"), "\"Hello\",10,10,#FALSE#,#FALSE#,\"Arial\",12,#FALSE#,#FALSE#,2147483647.5\r\n");
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Areas/Start/title.lbl: field 10 holds a value out of the range of a 32-bit integer (-2147483648 to 2147483647)")}));
}

TEST_F(GameChecker, AChannelFileNamingAMissingSound)
{
    game.writeBytes(QStringLiteral("Frames/Start.chn"), demo::ChannelFile({{.wave = QStringLiteral("sea.wav")}}));
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Frames/Start.chn: field 26 names the sound \"sea.wav\", which is missing (no file \"Areas/sea.wav\" or \"Areas/sea.010\")")}));
}

TEST_F(GameChecker, AnObjectFileNamingAMissingPicture)
{
    game.write(QStringLiteral("Areas/Key.obj"), {{"brass.bmp"}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Areas/Key.obj: field 1 names the picture \"brass.bmp\", which is missing (no file \"Areas/brass.bmp\" or \"Areas/brass.004\")")}));
}

TEST_F(GameChecker, ACombinationWhoseNewObjectDoesNotExist)
{
    game.write(QStringLiteral("Areas/Key_on_Key.drg"), {{1, 1, 1, "Grapple"}});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Key_on_Key.drg: field 4 adds the object \"Grapple\", which has no object file (objects: Key)")}));
}

// ---------------------------------------------------------------- variables used but not declared

TEST_F(GameChecker, AnUndeclaredVariableInAConditionIsAWarning)
{
    game.area(QStringLiteral("Start"), 1, 0, 0, 900, 900, QStringLiteral("door.bmp"), false, QString(), {"Lamps"});
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Start/1a.dat: warning: field 12 (a condition) uses the variable \"Lamps\", "
                                                       "which is not declared in Config/Variables: the player ignores it")}));
    // Warnings alone leave the exit status at 0.
    const CheckRun run = runCheck(game.path());
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 2);
    EXPECT_TRUE(run.lines[1].endsWith(QStringLiteral(": 0 errors, 1 warning; 2 frames, 2 areas, 1 object"))) << run.lines[1].toStdString();
}

TEST_F(GameChecker, AnUndeclaredVariableInAnActionIsAWarning)
{
    action(2, demo::ActionRecord{}.set(1, 1).set(2, "Lamps").set(4, 1));
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Start/2b.dat: warning: field 2 uses the variable \"Lamps\", "
                                                       "which is not declared in Config/Variables: the player ignores it")}));
}

TEST_F(GameChecker, AnUndeclaredVariableInTheVariableListsIsAWarning)
{
    demo::ActionRecord record;
    record.set(40, 1).lists[2] = QStringList{QStringLiteral("Lamp"), QStringLiteral("Dry")};
    action(2, record);
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Start/2b.dat: warning: field 41 (variable lists) uses the variable \"Dry\", "
                                                       "which is not declared in Config/Variables: the player ignores it")}));
}

// ---------------------------------------------------------------- media

TEST_F(GameChecker, APictureMissingUnderBothNames)
{
    game.remove(QStringLiteral("Areas/door.004"));
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Areas/Start/1a.dat: field 7 names the picture \"door.bmp\", which is missing (no file \"Areas/door.bmp\" or \"Areas/door.004\")")}));
}

TEST_F(GameChecker, TheSchemesPicturesAreCheckedAsTheWelcomeWindowReadsThem)
{
    game.general({.scheme = QStringLiteral("Blue")});
    // Start is missing, Load is the default picture, Exit does not decode,
    // a fifth is never shown.
    game.writeBytes(QStringLiteral("Schemes/Blue/Scheme.txt"),
                    "0,0,0\r\n5,\"start.bmp\",\"[Default]\",\"exit.bmp\",\"waves.bmp\",\"fifth.bmp\"\r\n");
    game.writeBytes(QStringLiteral("Schemes/Blue/exit.bmp"), "BM not a picture");
    game.picture(QStringLiteral("Schemes/Blue/waves.bmp"), 8, 8);
    const QStringList found = findings();
    ASSERT_EQ(found.size(), 2) << found.join(u'\n').toStdString();
    EXPECT_EQ(found[0], QStringLiteral("Schemes/Blue/Scheme.txt: field 5 names the scheme picture \"start.bmp\", which is missing "
                                       "(no file \"Schemes/Blue/start.bmp\" or \"Schemes/Blue/start.004\")"));
    EXPECT_EQ(found[1], QStringLiteral("Schemes/Blue/Scheme.txt: field 7 names the scheme picture \"Schemes/Blue/exit.bmp\", which the player cannot decode"));
}

TEST_F(GameChecker, MediaNamesAreFoundWithoutRegardToLetterCase)
{
    game.area(QStringLiteral("Start"), 1, 0, 0, 900, 900, QStringLiteral("DOOR.BMP"), false, QStringLiteral("HAND.CUR"), {"Lamp"});
    game.writeBytes(QStringLiteral("Icons/hand.003"), demo::CursorFile(QImage(16, 16, QImage::Format_ARGB32), 1, 1));
    EXPECT_EQ(findings(), QStringList());
}

TEST_F(GameChecker, APictureThatDoesNotDecode)
{
    game.writeBytes(QStringLiteral("Areas/door.004"), "not a picture");
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Start/1a.dat: field 7 names the picture \"Areas/door.004\", which the player cannot decode")}));
}

TEST_F(GameChecker, ACursorThatDoesNotDecode)
{
    game.area(QStringLiteral("Start"), 2, 900, 0, 900, 900, QString(), false, QStringLiteral("hand.cur"));
    game.writeBytes(QStringLiteral("Icons/hand.cur"), "not a cursor");
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Start/2a.dat: field 9 names the cursor \"Icons/hand.cur\", which the player cannot decode")}));
}

TEST_F(GameChecker, ASoundThatDoesNotDecode)
{
    game.writeBytes(QStringLiteral("Areas/sea.wav"), "not a wave");
    game.writeBytes(QStringLiteral("Frames/Start.chn"), demo::ChannelFile({{.wave = QStringLiteral("sea.wav")}}));
    const QStringList lines = findings();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_STARTS(lines[0], ("Frames/Start.chn: field 26 names the sound \"Areas/sea.wav\", which the player cannot decode: "));
}

TEST_F(GameChecker, MidiMusicThatDoesNotDecode)
{
    game.frame(QStringLiteral("Hall"), {0, "255", false, false, "tune.mid", false, 0, "", "", false});
    game.writeBytes(QStringLiteral("Frames/tune.011"), "not MIDI");
    EXPECT_EQ(findings(), (QStringList{QStringLiteral(
                                "Frames/Hall.fme: field 5 names the MIDI music \"Frames/tune.011\", which the player cannot decode: Not a MIDI file")}));
}

TEST_F(GameChecker, Mp3MusicThatDoesNotDecode)
{
    game.frame(QStringLiteral("Hall"), {0, "255", false, false, "", false, 0, "", "", false, false, false, "song.mp3"});
    game.writeBytes(QStringLiteral("Frames/song.mp3"), QByteArray(64, 'x'));
    const QStringList lines = findings();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_STARTS(lines[0], ("Frames/Hall.fme: field 13 names the MP3 music \"Frames/song.mp3\", which the player cannot decode"));
}

TEST_F(GameChecker, AVideoThatDoesNotDecode)
{
    action(2, demo::ActionRecord{}.set(16, 1).set(17, "intro.avi"));
    game.writeBytes(QStringLiteral("Frames/intro.014"), "not a video");
    EXPECT_EQ(findings(), (QStringList{QStringLiteral("Areas/Start/2b.dat: field 17 names the video \"Frames/intro.014\", which the player cannot decode")}));
}

TEST_F(GameChecker, MediaThatDecodeCheckClean)
{
    game.frame(QStringLiteral("Hall"), {0, "255", false, false, "tune.mid", false, 0, "", "", false});
    game.writeBytes(QStringLiteral("Frames/tune.mid"), demo::MidiFile({60, 64}));
    game.writeBytes(QStringLiteral("Areas/sea.010"), demo::WavFile(demo::Tone(100)));
    game.writeBytes(QStringLiteral("Frames/Start.chn"), demo::ChannelFile({{.wave = QStringLiteral("sea.wav")}}));
    EXPECT_EQ(findings(), QStringList());
}

// ---------------------------------------------------------------- reachability, output, map

TEST_F(GameChecker, AFrameNoActionOrTimerReachesIsAWarning)
{
    game.frame(QStringLiteral("Attic"));
    EXPECT_EQ(findings(),
                (QStringList{QStringLiteral("Frames/Attic.fme: warning: the frame \"Attic\" cannot be reached from the initial frame \"Start\" by any action or timer")}));
}

TEST_F(GameChecker, ATimerAndAnObjectDroppedOnAnAreaReachFrames)
{
    game.frame(QStringLiteral("Hall"), {0, "255", false, false, "", true, 5, "Attic", "", false});
    game.frame(QStringLiteral("Attic"));
    game.frame(QStringLiteral("Cellar"));
    game.writeBytes(QStringLiteral("Areas/Start/2_Key.drg"), demo::ActionRecord{}.set(12, 1).set(13, "cellar").bytes());
    EXPECT_EQ(findings(), QStringList());
}

TEST_F(GameChecker, JsonLinesSayTheSame)
{
    game.frame(QStringLiteral("Attic"));
    action(1, demo::ActionRecord{}.set(12, 1).set(13, "Hal"));
    const CheckRun run = runCheck(game.path(), {QStringLiteral("--json")});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines.size(), 3);
    const QJsonObject first = QJsonDocument::fromJson(run.lines[0].toUtf8()).object();
    EXPECT_EQ(first, (QJsonObject{{QStringLiteral("file"), QStringLiteral("Areas/Start/1b.dat")},
                                  {QStringLiteral("where"), QStringLiteral("field 13")},
                                  {QStringLiteral("severity"), QStringLiteral("error")},
                                  {QStringLiteral("message"), QStringLiteral("opens the frame \"Hal\", which does not exist (frames: Attic, Hall, Start)")}}));
    const QJsonObject last = QJsonDocument::fromJson(run.lines[2].toUtf8()).object();
    EXPECT_EQ(last.value(QStringLiteral("severity")).toString(), QStringLiteral("warning"));
    EXPECT_EQ(last.value(QStringLiteral("where")).toString(), QStringLiteral("the frame \"Hall\""));
}

TEST_F(GameChecker, TheMapDrawsEveryWayBetweenFramesAndMarksWhatIsWrong)
{
    game.frame(QStringLiteral("Hall"), {0, "255", false, false, "", true, 5, "[Last Visited Frame]", "", false});
    game.frame(QStringLiteral("Attic"));
    action(2, demo::ActionRecord{}.set(12, 1).set(13, "Hal"));
    game.writeBytes(QStringLiteral("Areas/Start/2_Key.drg"), demo::ActionRecord{}.set(12, 1).set(13, "hall").bytes());
    authoring::GameChecker checker(game.path());
    checker.check();
    const QStringList dot = authoring::FrameMap(checker.graph()).dot().split(u'\n');
    EXPECT_CONTAINS(dot, (QStringLiteral("  start -> \"Start\" [color=\"#5d4037\", penwidth=2];")));
    EXPECT_CONTAINS(dot, (QStringLiteral("  \"Start\" -> \"Hall\" [label=\"area 1\", color=\"#37474f\"];")));
    EXPECT_CONTAINS(dot, (QStringLiteral("  \"Start\" -> \"Hall\" [label=\"area 2 + Key\", color=\"#2e7d32\", fontcolor=\"#2e7d32\"];")));
    EXPECT_CONTAINS(dot, (QStringLiteral("  \"Hall\" -> \"Start\" [label=\"back (timer)\", color=\"#9e9e9e\", fontcolor=\"#757575\", style=dashed];")));
    EXPECT_CONTAINS(dot, (QStringLiteral("  \"Start\" -> \"missing: Hal\" [label=\"area 2\", color=\"#c62828\", fontcolor=\"#c62828\", penwidth=2];")));
    EXPECT_CONTAINS(dot, (QStringLiteral("  \"Attic\" [label=\"Attic\\n(unreachable)\", style=\"rounded,filled,dashed\", fillcolor=\"#eeeeee\", "
                                             "fontcolor=\"#757575\", color=\"#9e9e9e\"];")));
}

TEST_F(GameChecker, TheMapIsWrittenAsSvgByGraphviz)
{
    if (QStandardPaths::findExecutable(QStringLiteral("dot")).isEmpty())
        GTEST_SKIP() << "Graphviz's dot is not installed";
    QTemporaryDir out;
    const QString svg = out.filePath(QStringLiteral("map.svg"));
    const CheckRun run = runCheck(game.path(), {QStringLiteral("--map"), svg});
    EXPECT_EQ(run.exitCode, 0);
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray picture = file.readAll();
    EXPECT_TRUE(picture.contains("<svg"));
    EXPECT_TRUE(picture.contains(">Hall</text>"));
}

TEST_F(GameChecker, AMapOfAnotherKindIsRefused)
{
    QTemporaryDir out;
    const CheckRun run = runCheck(game.path(), {QStringLiteral("--map"), out.filePath(QStringLiteral("map.png"))});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errors, QStringLiteral("loomplay: the map %1 must end in .svg or .dot\n").arg(out.filePath(QStringLiteral("map.png"))));
}

TEST_F(GameChecker, AMapIntoAFolderThatDoesNotExistIsRefusedByName)
{
    QTemporaryDir out;
    const QString map = out.filePath(QStringLiteral("no such folder/map.dot"));
    const CheckRun run = runCheck(game.path(), {QStringLiteral("--map"), map});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.errors, QStringLiteral("loomplay: cannot write the map %1: No such file or directory\n").arg(map));
}

// ---------------------------------------------------------------- a game that runs from CD

namespace {

// The fixture's game with its Frames, Areas and Icons moved to a CD image
// mounted at a folder of the test, as Data/<game name>/...; RunFromCD.dat
// names drive D:, the image's letter in the mount table given.
class CDGameChecker : public GameChecker {
protected:
    void SetUp() override
    {
        GameChecker::SetUp();
        game.write(QStringLiteral("RunFromCD.dat"), {{"D: [QUEST]"}});
        ASSERT_TRUE(QDir().mkpath(disc.filePath(QStringLiteral("Data/Test Game"))));
        for (const QString& folder : {QStringLiteral("Frames"), QStringLiteral("Areas"), QStringLiteral("Icons")}) {
            ASSERT_TRUE(QDir().mkpath(game.file(folder)));
            ASSERT_TRUE(QDir().rename(game.file(folder), disc.filePath(QStringLiteral("Data/Test Game/") + folder))) << folder.toStdString();
        }
    }
    QStringList cdFindings()
    {
        authoring::GameChecker checker(game.path(), QStringLiteral("windows-1252"), QStringLiteral("/dev/sda1 / ext4 rw 0 0\n/dev/sr0 %1 iso9660 ro 0 0\n").arg(disc.path()));
        QStringList lines;
        for (const authoring::Finding& f : checker.check())
            lines << f.line();
        lines << checker.summary(QStringLiteral("cd"));
        return lines;
    }

    QTemporaryDir disc;
};

} // namespace

TEST_F(CDGameChecker, TheFramesAreasAndIconsAreCheckedOnTheDrive)
{
    EXPECT_EQ(cdFindings(), QStringList{QStringLiteral("cd: 0 errors, 0 warnings; 2 frames, 2 areas, 1 object")});
}

TEST_F(CDGameChecker, AFileMissingOnTheDriveIsNamedThere)
{
    ASSERT_TRUE(QFile::remove(disc.filePath(QStringLiteral("Data/Test Game/Areas/key.bmp"))));
    const QStringList lines = cdFindings();
    ASSERT_EQ(lines.size(), 2) << lines.join(u'\n').toStdString();
    EXPECT_STARTS(lines[0], qPrintable(disc.filePath(QStringLiteral("Data/Test Game/Areas/Key.obj"))));
    EXPECT_TRUE(lines[0].contains(QLatin1String("\"key.bmp\", which is missing"))) << lines[0].toStdString();
}

TEST_F(CDGameChecker, ADriveWithoutTheGamesFoldersIsAnError)
{
    ASSERT_TRUE(QDir(disc.filePath(QStringLiteral("Data/Test Game/Areas"))).removeRecursively());
    const QStringList lines = cdFindings();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], QStringLiteral("RunFromCD.dat: field 1 names the CD drive D: (%1/), which has no folder D:/Data/Test Game/Areas/, so the player "
                                       "cannot start the game from it; the game folder's own Frames, Areas and Icons folders are checked instead")
                            .arg(disc.path()));
}

TEST_F(CDGameChecker, ADriveThisSystemDoesNotHaveOrNoDriveIsAWarning)
{
    game.write(QStringLiteral("RunFromCD.dat"), {{"Q:"}});
    QStringList lines = cdFindings();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], QStringLiteral("RunFromCD.dat: warning: field 1 names the CD drive Q:, which this system does not have, so the player asks "
                                       "for the drive; the game folder's own Frames, Areas and Icons folders are checked instead"));
    game.write(QStringLiteral("RunFromCD.dat"), {{""}});
    lines = cdFindings();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], QStringLiteral("RunFromCD.dat: warning: field 1 names no CD drive, so the player asks for the drive whenever the game "
                                       "starts; the game folder's own Frames, Areas and Icons folders are checked instead"));
}
