#include "automation/script_runner.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class ScriptedPlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"seen", "lit"});
        folder.frame(QStringLiteral("Start"), {0, "255", false, false, "", true, 2, "Next", "", false});
        folder.frame(QStringLiteral("Next"));
        player = std::make_unique<Player>(folder, QSize(800, 600));
        player->welcome().show();
        runner = std::make_unique<automation::ScriptRunner>(player->rt(), shots.path());
    }
    QJsonObject lastDump() const
    {
        const auto dumps = player->rt().log.ofType(QStringLiteral("dump"));
        return dumps.empty() ? QJsonObject() : dumps.back();
    }

    GameFolder folder;
    QTemporaryDir shots;
    std::unique_ptr<Player> player;
    std::unique_ptr<automation::ScriptRunner> runner;
};

TEST_F(ScriptedPlay, ClickingStartAndWaitingDrivesTheGameAndDumpsItsState)
{
    ASSERT_TRUE(runner->run({QStringLiteral("click frmWelcome.lblButton(0)"), QStringLiteral("dump")}));
    QJsonObject dump = lastDump();
    const QJsonObject game = dump.value(QStringLiteral("game")).toObject();
    EXPECT_EQ(game.value(QStringLiteral("frame")).toString(), QStringLiteral("Start"));
    EXPECT_EQ(game.value(QStringLiteral("history")).toArray(), QJsonArray{QStringLiteral("Start")});
    EXPECT_EQ(game.value(QStringLiteral("variables")).toArray(),
              (QJsonArray{QJsonArray{QStringLiteral("seen"), 0}, QJsonArray{QStringLiteral("lit"), 0}}));
    const QJsonObject timer1 = game.value(QStringLiteral("timers")).toObject().value(QStringLiteral("Timer1")).toObject();
    EXPECT_TRUE(timer1.value(QStringLiteral("enabled")).toBool());
    EXPECT_EQ(timer1.value(QStringLiteral("interval")).toInt(), 2000);
    EXPECT_EQ(timer1.value(QStringLiteral("tag")).toString(), QStringLiteral("Next"));
    for (const char* key : {"disappear", "inventory", "StopVideoRequested", "InventoryDirection", "InventoryMoving",
                            "InventoryHeldOpen", "ObjectsCount", "DraggedObjectIndex"})
        EXPECT_TRUE(game.contains(QLatin1String(key))) << key;
    const QJsonObject windows = dump.value(QStringLiteral("windows")).toObject();
    const QJsonObject gameWindow = windows.value(QStringLiteral("Game")).toObject();
    EXPECT_TRUE(gameWindow.value(QStringLiteral("visible")).toBool());
    EXPECT_TRUE(gameWindow.value(QStringLiteral("active")).toBool());
    EXPECT_FALSE(windows.value(QStringLiteral("frmWelcome")).toObject().value(QStringLiteral("visible")).toBool());
    const QJsonObject picture = gameWindow.value(QStringLiteral("elements")).toObject().value(QStringLiteral("PictureBox")).toObject();
    EXPECT_EQ(picture.value(QStringLiteral("width")).toInt(), 9600);
    EXPECT_EQ(picture.value(QStringLiteral("backColor")).toString(), QStringLiteral("#ff0000"));
    EXPECT_EQ(dump.value(QStringLiteral("project")).toObject().value(QStringLiteral("GameName")).toString(), QStringLiteral("Test Game"));
    EXPECT_EQ(dump.value(QStringLiteral("project")).toObject().value(QStringLiteral("InterfaceStrings")).toArray().at(1).toString(),
              QStringLiteral("Start"));
    EXPECT_TRUE(dump.value(QStringLiteral("media")).toObject().contains(QStringLiteral("MidiStatus")));

    ASSERT_TRUE(runner->run({QStringLiteral("wait 2000"), QStringLiteral("dump")}));
    EXPECT_EQ(lastDump().value(QStringLiteral("game")).toObject().value(QStringLiteral("frame")).toString(), QStringLiteral("Next"));
}

TEST_F(ScriptedPlay, AnswersAreGivenToTheNextBoxInTurn)
{
    folder.remove(QStringLiteral("Frames/Start.fme"));
    ASSERT_TRUE(runner->run({QStringLiteral("answer cancel"), QStringLiteral("click lblButton(0)")}));
    const auto boxes = player->boxes();
    ASSERT_EQ(boxes.size(), 3u);
    // An OK box takes OK whatever the queued answer.
    EXPECT_EQ(boxes[0].value(QStringLiteral("answer")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(boxes[0].value(QStringLiteral("buttons")).toString(), QStringLiteral("ok"));
    EXPECT_EQ(boxes[0].value(QStringLiteral("title")).toString(), QStringLiteral("Error"));
}

TEST_F(ScriptedPlay, EscapeOnTheWelcomeWindowEndsTheProgram)
{
    ASSERT_TRUE(runner->run({QStringLiteral("key Escape"), QStringLiteral("dump")}));
    EXPECT_TRUE(player->rt().ended());
    EXPECT_TRUE(player->rt().log.ofType(QStringLiteral("dump")).empty());
}

TEST_F(ScriptedPlay, TabShiftTabSpaceAndEnterReachTheWelcomeWindow)
{
    ASSERT_TRUE(runner->run({QStringLiteral("key Tab"), QStringLiteral("key Tab"), QStringLiteral("key Tab"), QStringLiteral("key Space"),
                             QStringLiteral("key Shift+Tab"), QStringLiteral("key Shift+Tab"), QStringLiteral("dump")}));
    const QJsonObject welcome = lastDump()[QStringLiteral("windows")][QStringLiteral("frmWelcome")].toObject();
    EXPECT_EQ(welcome[QStringLiteral("focus")].toString(), QStringLiteral("lblButton(1)"));
    EXPECT_EQ(welcome[QStringLiteral("elements")][QStringLiteral("chkResolution")][QStringLiteral("value")].toInt(), 0);
    ASSERT_TRUE(runner->run({QStringLiteral("key Enter"), QStringLiteral("dump")}));
    EXPECT_TRUE(lastDump()[QStringLiteral("windows")][QStringLiteral("frmLoadGame")][QStringLiteral("visible")].toBool());
}

TEST_F(ScriptedPlay, ShotsArePicturesOfTheActiveWindow)
{
    ASSERT_TRUE(runner->run({QStringLiteral("shot welcome.png")}));
    QImage image(shots.filePath(QStringLiteral("welcome.png")));
    EXPECT_EQ(image.width(), 320);
}

TEST_F(ScriptedPlay, ShotsStayInsideTheirFolder)
{
    QTemporaryDir outside;
    const QString escape = QStringLiteral("../%1/out.png").arg(QFileInfo(outside.path()).fileName());
    for (const QString& name : {escape, outside.filePath(QStringLiteral("out.png"))}) {
        EXPECT_FALSE(runner->run({QStringLiteral("shot ") + name}));
        EXPECT_EQ(player->rt().log.ofType(QStringLiteral("error")).back().value(QStringLiteral("text")).toString(),
                  QStringLiteral("A shot is written inside the --shots folder: ") + name);
    }
    EXPECT_FALSE(QFile::exists(outside.filePath(QStringLiteral("out.png"))));
    EXPECT_TRUE(runner->run({QStringLiteral("shot deeper/../in.png")}));
    EXPECT_TRUE(QFile::exists(shots.filePath(QStringLiteral("in.png"))));
}

TEST(ScriptEnd, AScriptThatEndsDuringACutSceneEndsTheRun)
{
    GameFolder folder;
    folder.general();
    // Two minutes of video at one picture a second: the run must not wait
    // for it on its clock once the script is over.
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/long.avi"), 120000, Qt::red, QSize(16, 16), 1, false));
    folder.frame(QStringLiteral("Start"), {0, "0", false, false, "", false, 0, "", "long.avi", false});
    Player player(folder, QSize(800, 600));
    player.welcome().show();
    automation::ScriptRunner runner(player.rt(), QString());
    EXPECT_TRUE(runner.run({QStringLiteral("click frmWelcome.lblButton(0)")}));
    EXPECT_TRUE(player.rt().ended());
    EXPECT_LT(player.rt().clock().elapsedMs(), 10000);
}

TEST_F(ScriptedPlay, BadLinesAndUnknownElementsStopTheScriptWithAnError)
{
    EXPECT_FALSE(runner->run({QStringLiteral("click Area(9)")}));
    EXPECT_FALSE(runner->run({QStringLiteral("frobnicate")}));
    EXPECT_FALSE(runner->run({QStringLiteral("click chkResolution"), QStringLiteral("click imgLogos(1)")}));
    const auto errors = player->rt().log.ofType(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[2].value(QStringLiteral("line")).toInt(), 2);
    // The first line of the last script ran: the box was unticked.
    EXPECT_EQ(player->welcome().element(QStringLiteral("chkResolution"))->value(), 0);
}

TEST_F(ScriptedPlay, AnExpectLineHoldsWhenTheStateHasWhatItNames)
{
    EXPECT_TRUE(runner->run({QStringLiteral("click frmWelcome.lblButton(0)"),
                             QStringLiteral(R"(expect {"game":{"frame":"Start","history":["Start"]},"windows":{"Game":{"visible":true}}})")}));
    EXPECT_TRUE(player->rt().log.ofType(QStringLiteral("error")).empty());
}

TEST_F(ScriptedPlay, AnExpectLineStopsTheScriptAtTheFirstDifference)
{
    EXPECT_FALSE(runner->run({QStringLiteral("click frmWelcome.lblButton(0)"),
                              QStringLiteral(R"(expect {"windows":{"Game":{"visible":true}},"game":{"frame":"Next"}})"), QStringLiteral("dump")}));
    const auto errors = player->rt().log.ofType(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].value(QStringLiteral("line")).toInt(), 2);
    EXPECT_EQ(errors[0].value(QStringLiteral("text")).toString(), QStringLiteral(R"(The state differs: game.frame is "Start", expected "Next")"));
    EXPECT_TRUE(player->rt().log.ofType(QStringLiteral("dump")).empty());
}

TEST_F(ScriptedPlay, AWindowAnExpectLineNamesMustBeLoaded)
{
    EXPECT_FALSE(runner->run({QStringLiteral(R"(expect {"windows":{"frmSaveGame":{"visible":false}}})")}));
    const auto errors = player->rt().log.ofType(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].value(QStringLiteral("text")).toString(),
              QStringLiteral(R"(The state differs: windows.frmSaveGame is missing, expected {"visible":false})"));
}

TEST_F(ScriptedPlay, AnExpectLineCanNameTheWindowsShown)
{
    EXPECT_TRUE(runner->run({QStringLiteral(R"(expect {"shown":["frmWelcome"]})")}));
    EXPECT_FALSE(runner->run({QStringLiteral("click frmWelcome.lblButton(0)"), QStringLiteral(R"(expect {"shown":["frmWelcome"]})")}));
    const auto errors = player->rt().log.ofType(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].value(QStringLiteral("text")).toString(), QStringLiteral(R"(The state differs: shown is ["Game"], expected ["frmWelcome"])"));
}
