#include "support/game_folder.h"
#include "support/player.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

TEST(GameReset, TheGamePictureIsCentredOnTheScreen)
{
    GameFolder folder;
    folder.general();
    Player player(folder, QSize(800, 600));
    player.welcome();
    player.welcome().element(QStringLiteral("chkResolution"))->setValue(0);
    engine::Game& game = player.game();
    game.ResetAll();
    const platform::Element* picture = game.element(QStringLiteral("PictureBox"));
    EXPECT_EQ(picture->left(), 1200);
    EXPECT_EQ(picture->top(), 900);
    EXPECT_EQ(picture->width(), 9600);
    EXPECT_EQ(picture->height(), 7200);
    EXPECT_EQ(game.element(QStringLiteral("BackImage"))->width(), 9600);
}

TEST(GameReset, TheInventoryBarStartsHiddenAboveThePicture)
{
    GameFolder folder;
    folder.general();
    Player player(folder);
    player.welcome();
    engine::Game& game = player.game();
    game.ResetAll();
    const platform::Element* bar = game.element(QStringLiteral("Inventory1"));
    EXPECT_EQ(bar->height(), 780);
    EXPECT_EQ(bar->top(), -780);
    EXPECT_EQ(bar->width(), 640 * 15);
    EXPECT_TRUE(bar->shown());
    EXPECT_FALSE(game.element(QStringLiteral("Inventory2"))->shown());
}

TEST(GameReset, ResettingEmptiesTheGameStateAndTwiceIsLikeOnce)
{
    GameFolder folder;
    folder.general();
    folder.variables({"a", "b"});
    folder.frame(QStringLiteral("Start"));
    Player player(folder);
    player.start();
    engine::Game& game = player.game();
    game.Disappear.Add(QStringLiteral("Start"), 2);
    game.ResetAll();
    EXPECT_EQ(game.Variables.Count(), 0);
    EXPECT_EQ(game.Disappear.Count(), 0);
    EXPECT_TRUE(game.FramesHistory().isEmpty());
    EXPECT_TRUE(game.StopVideoRequested);
    const int left = game.element(QStringLiteral("PictureBox"))->left();
    game.ResetAll();
    EXPECT_EQ(game.element(QStringLiteral("PictureBox"))->left(), left);
    EXPECT_EQ(game.element(QStringLiteral("PictureBox"))->backColor(), QColor(Qt::black));
}

TEST(GameReset, AGamePictureTooLargeForSixteenBitTwipsCannotInitialize)
{
    GameFolder folder;
    folder.general({.name = QStringLiteral("Huge"), .width = 2185});
    Player player(folder);
    player.welcome();
    player.game().ResetAll();
    EXPECT_EQ(player.takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to initialize the program."))});
}

TEST(GameReset, TheDebugMenuListsTheFrames)
{
    GameFolder folder;
    folder.general();
    folder.frame(QStringLiteral("Beta"));
    folder.frame(QStringLiteral("alpha"));
    Player player(folder);
    player.welcome();
    player.game().ResetAll();
    EXPECT_EQ(player.game().menus().mnuFrameName, (QStringList{"alpha", "Beta"}));
}
