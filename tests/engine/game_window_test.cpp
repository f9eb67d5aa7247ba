#include "automation/script_runner.h"
#include "saves/frm_save_game.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QCoreApplication>
#include <QGraphicsView>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class GameWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({});
        folder.frame(QStringLiteral("Start"));
    }
    engine::Game& start(QSize screen = QSize(640, 480))
    {
        player = std::make_unique<Player>(folder, screen);
        player->start();
        player->takeMessages();
        return player->game();
    }
    void wait(int ms) { player->rt().clock().sleep(ms); }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(GameWindow, EscapeOpensAndClosesTheMenusAndAsksAVideoToStop)
{
    engine::Game& game = start();
    game.StopVideoRequested = false;
    game.Form_KeyDown(Qt::Key_Escape);
    EXPECT_TRUE(game.menus().mnuExit.visible);
    EXPECT_TRUE(game.menus().mnuSaveGame.visible);
    EXPECT_FALSE(game.menus().mnuDebug.visible);
    EXPECT_TRUE(game.StopVideoRequested);
    game.Form_KeyDown(Qt::Key_Escape);
    EXPECT_FALSE(game.menus().mnuExit.visible);
}

TEST_F(GameWindow, ARightPressOpensTheMenusAndAnyPressClosesThem)
{
    engine::Game& game = start();
    game.Form_MouseDown(2);
    EXPECT_TRUE(game.menus().open());
    game.Form_MouseDown(2);
    EXPECT_FALSE(game.menus().open());
    game.BackImage_MouseDown(2);
    EXPECT_TRUE(game.menus().open());
    game.BackImage_MouseDown(1);
    EXPECT_FALSE(game.menus().open());
}

TEST_F(GameWindow, ARightPressThroughTheSceneOnTheBackgroundOpensTheMenus)
{
    start(QSize(800, 600));
    automation::ScriptRunner runner(player->rt(), QString());
    ASSERT_TRUE(runner.run({QStringLiteral("click BackImage right")}));
    EXPECT_TRUE(player->game().menus().open());
    // A press on the black border around the picture is a press on the window.
    ASSERT_TRUE(runner.run({QStringLiteral("click-at -50 10")}));
    EXPECT_FALSE(player->game().menus().open());
}

TEST_F(GameWindow, HideSaveMenuShowsExitOnlyWhileSStillSaves)
{
    folder.general({.hideSaveMenu = true});
    engine::Game& game = start();
    game.ShowMenus();
    EXPECT_TRUE(game.menus().mnuExit.visible);
    EXPECT_FALSE(game.menus().mnuSaveGame.visible);
    game.Form_KeyDown(Qt::Key_S);
    ASSERT_NE(player->rt().saveGameIfLoaded(), nullptr);
    EXPECT_TRUE(player->rt().frmSaveGame().window().isVisible());
}

TEST_F(GameWindow, QAsksAndYesClosesTheWindowATenthOfASecondLater)
{
    engine::Game& game = start();
    player->rt().scriptedDialogs()->queue(platform::MsgAnswer::Yes);
    game.Form_KeyDown(Qt::Key_Q);
    const auto boxes = player->boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].value(QStringLiteral("text")).toString(), QStringLiteral("Do you really want to quit?"));
    EXPECT_EQ(boxes[0].value(QStringLiteral("title")).toString(), QStringLiteral("Test Game"));
    EXPECT_EQ(boxes[0].value(QStringLiteral("icon")).toString(), QStringLiteral("question"));
    EXPECT_TRUE(game.visible());
    wait(99);
    EXPECT_TRUE(game.visible());
    wait(1);
    EXPECT_FALSE(game.visible());
    EXPECT_FALSE(game.TimerUnloadMe.enabled());
    EXPECT_TRUE(player->welcome().window().isVisible());
}

TEST_F(GameWindow, QAnsweredNoChangesNothing)
{
    engine::Game& game = start();
    player->rt().scriptedDialogs()->queue(platform::MsgAnswer::No);
    game.Form_KeyDown(Qt::Key_Q);
    wait(1000);
    EXPECT_TRUE(game.visible());
    EXPECT_FALSE(game.TimerUnloadMe.enabled());
}

TEST_F(GameWindow, EmptyStringsEightAndTwelveKeepTheBuiltInCaptions)
{
    folder.write(QStringLiteral("Config/Texts"), {{2, 0, 0, 0, 0, 0, 3}, {"Go"}, {"Load"}, {"Leave"}});
    engine::Game& game = start();
    EXPECT_EQ(game.menus().mnuSaveGame.caption, QStringLiteral("Save game"));
    EXPECT_EQ(game.menus().mnuExit.caption, QStringLiteral("Exit"));
    folder.write(QStringLiteral("Config/Texts"), {{1}});
    engine::Game& longSet = start();
    EXPECT_EQ(longSet.menus().mnuSaveGame.caption, QStringLiteral("Save game..."));
}

TEST_F(GameWindow, ClosingRestoresASwitchedDisplayOnce)
{
    engine::Game& game = start(QSize(1024, 768));
    EXPECT_EQ(player->rt().display.mode(), QSize(640, 480));
    EXPECT_EQ(player->rt().display.modeChanges(), 1);
    game.Form_Unload();
    EXPECT_EQ(player->rt().display.mode(), QSize(1024, 768));
    EXPECT_EQ(player->rt().display.modeChanges(), 2);
    EXPECT_TRUE(player->welcome().window().isVisible());
    // Closing when the display already has the saved size changes nothing.
    player->welcome().element(QStringLiteral("chkResolution"))->setValue(0);
    player->welcome().ClickButton(0);
    player->game().Form_Unload();
    EXPECT_EQ(player->rt().display.modeChanges(), 2);
}

TEST_F(GameWindow, ClosingStopsEveryMediaLayerInOrder)
{
    engine::Game& game = start();
    game.Form_Unload();
    // The MIDI close names no file; a closed sound object and an unused
    // mixer send nothing; the video's stop and close go out even so.
    const std::vector<QString> expected{QStringLiteral("close "), QStringLiteral("Stop "), QStringLiteral("Close "), QStringLiteral("mp3stop")};
    EXPECT_EQ(player->mediaCalls(), expected);
    EXPECT_FALSE(game.Timer1.enabled());
}

TEST_F(GameWindow, TheMenuBarLiesOverThePictureWithoutMovingIt)
{
    engine::Game& game = start(QSize(640, 480));
    const QPoint before = game.window().view().mapFromScene(QPointF(0, 0));
    game.ShowMenus();
    QCoreApplication::processEvents();
    EXPECT_EQ(game.window().view().mapFromScene(QPointF(0, 0)), before);
}

TEST_F(GameWindow, TheDebugMenuIsOfferedOnlyToAuthorsAndOpensTheChosenFrame)
{
    folder.frame(QStringLiteral("Attic"));
    engine::Game& game = start();
    game.ShowMenus();
    EXPECT_FALSE(game.menus().mnuDebug.visible);

    run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path());
    options.debug = true;
    app::Runtime rt(options);
    rt.frmWelcome().ClickButton(0);
    automation::ScriptRunner runner(rt, QString());
    EXPECT_FALSE(runner.run({QStringLiteral("click mnuFrameName(1)")}));
    ASSERT_TRUE(runner.run({QStringLiteral("key Escape"), QStringLiteral("click mnuFrameName(1)")}));
    EXPECT_EQ(rt.frame.CurrentFrameName, QStringLiteral("Attic"));
    EXPECT_FALSE(rt.game().menus().open());
}

TEST_F(GameWindow, MenuItemsAreClickedFromAScript)
{
    start();
    automation::ScriptRunner runner(player->rt(), QString());
    EXPECT_FALSE(runner.run({QStringLiteral("click mnuExit")}));
    ASSERT_TRUE(runner.run({QStringLiteral("click BackImage right"), QStringLiteral("answer yes"), QStringLiteral("click mnuExit"),
                            QStringLiteral("wait 100")}));
    EXPECT_FALSE(player->game().visible());
}

// How the game window of a person's run starts: full screen unless told to
// start in a window; Alt+Enter switches either way.
TEST(GameWindowStart, FullScreenByDefaultOrInAWindowWhenAsked)
{
    GameFolder folder;
    folder.general();
    for (const bool fullScreen : {true, false}) {
        run::RuntimeOptions options;
        options.projectDir = folder.path();
        options.fullScreen = fullScreen;
        app::Runtime rt(options);
        engine::Game& game = rt.game();
        game.show();
        EXPECT_EQ(game.window().isFullScreen(), fullScreen);
        game.window().onKeyDown(Qt::Key_Return, Qt::AltModifier);
        EXPECT_EQ(game.window().isFullScreen(), !fullScreen);
        game.hideWindow();
    }
}
