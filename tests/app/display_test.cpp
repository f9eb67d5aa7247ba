#include "run/display_settings.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QGraphicsView>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

namespace {

void general(GameFolder& folder, int resolution)
{
    folder.general({.resolution = resolution});
}

} // namespace

TEST(DisplaySettings, AnUnknownResolutionShowsTheLineWithoutASizeAndSwitchesNothing)
{
    GameFolder folder;
    general(folder, 5);
    folder.variables({});
    folder.frame(QStringLiteral("Start"));
    Player player(folder);
    player.welcome();
    EXPECT_TRUE(player.welcome().element(QStringLiteral("lblResolution"))->shown());
    EXPECT_EQ(player.welcome().element(QStringLiteral("lblResolution"))->text(), QStringLiteral("Change display resolution to"));
    player.start();
    EXPECT_EQ(player.rt().display.modeChanges(), 0);
}

TEST(DisplaySettings, AnOlderLabelTextStillReadsWell)
{
    GameFolder folder;
    general(folder, 1);
    folder.write(QStringLiteral("Config/Texts"), {{2, 0, 0, 0, 0, 0, 7}, {"S"}, {"L"}, {"E"}, {"By"}, {"Mail"}, {"Web"}, {"Change display resolution to 640 x 480."}});
    Player player(folder);
    player.welcome();
    EXPECT_EQ(run::ResolutionLabelText(player.rt()), QStringLiteral("Change display resolution to 800x600."));
}

TEST(DisplaySettings, ASwitchPresentsTheGameAtTheCornerOfAScaledVirtualScreen)
{
    GameFolder folder;
    general(folder, 0);
    folder.variables({});
    folder.frame(QStringLiteral("Start"));
    Player player(folder, QSize(1280, 1024));
    player.start();
    engine::Game& game = player.game();
    EXPECT_EQ(player.rt().display.mode(), QSize(640, 480));
    EXPECT_EQ(game.element(QStringLiteral("PictureBox"))->left(), 0);
    EXPECT_EQ(game.element(QStringLiteral("PictureBox"))->top(), 0);
    // 640 x 480 fills 1280 wide at twice the size, with bars above and below.
    const QTransform t = game.window().view().transform();
    EXPECT_DOUBLE_EQ(t.m11(), 2.0);
    game.Form_Unload();
    EXPECT_EQ(player.rt().display.mode(), QSize(1280, 1024));
}

TEST(DisplaySettings, AModeThePlayerCannotPresentIsReported)
{
    GameFolder folder;
    general(folder, 0);
    Player player(folder);
    player.welcome();
    run::SetDisplayMode(player.rt(), 0, 480);
    EXPECT_EQ(player.takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to change display resolution. Mode not supported."))});
}
