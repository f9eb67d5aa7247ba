#include "automation/script_runner.h"
#include "demo/authoring.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class AnimatedPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"lit"});
        folder.frame(QStringLiteral("Start"));
        folder.animation(QStringLiteral("Areas/flame.gif"), {Qt::red, Qt::yellow, Qt::white}, 12, 20);
    }
    void animatedArea(int index, const QString& file, std::initializer_list<const char*> oneList, std::optional<int> speed)
    {
        folder.area(QStringLiteral("Start"), index, 300, 450, 600, 600, file, false, QString(), {}, oneList, true);
        if (speed)
            folder.write(QStringLiteral("Areas/Start/%1c.dat").arg(index), {{0, "", 0, 0, *speed}});
        else
            folder.write(QStringLiteral("Areas/Start/%1c.dat").arg(index), {{0, ""}});
    }
    engine::Game& start(int areas)
    {
        folder.write(QStringLiteral("Frames/Start.lks"), {{areas}});
        player = std::make_unique<Player>(folder, QSize(640, 480));
        player->start();
        return player->game();
    }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(AnimatedPictures, AnAnimatedAreaIsABoxAtTheInsetPlaceSizedToItsPicture)
{
    animatedArea(1, QStringLiteral("flame.gif"), {}, 70);
    engine::Game& game = start(1);
    EXPECT_TRUE(player->boxes().empty());
    // The area's own element only stands for it: one pixel at the corner.
    const platform::Element* area = game.element(QStringLiteral("Area(1)"));
    EXPECT_EQ(area->left(), 0);
    EXPECT_EQ(area->width(), 15);
    EXPECT_FALSE(area->hasPicture());
    const platform::Element* box = game.element(QStringLiteral("AniGifBox(1)"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->shown());
    EXPECT_EQ(box->left(), 330);
    EXPECT_EQ(box->top(), 480);
    EXPECT_EQ(box->width(), 12 * 15);
    EXPECT_EQ(box->height(), 20 * 15);
    EXPECT_EQ(game.areas().aniGifIndex(1), 1);
    const platform::Animation* gif = game.animations().AniGif(1);
    ASSERT_NE(gif, nullptr);
    EXPECT_TRUE(gif->playing());
    EXPECT_EQ(gif->speedPercent(), 140);
}

TEST_F(AnimatedPictures, ASpeedOfZeroOrAShortPickFileMeansFifty)
{
    animatedArea(1, QStringLiteral("flame.gif"), {}, 0);
    animatedArea(2, QStringLiteral("flame.gif"), {}, std::nullopt);
    engine::Game& game = start(2);
    EXPECT_EQ(game.animations().AniGif(1)->speedPercent(), 100);
    EXPECT_EQ(game.animations().AniGif(2)->speedPercent(), 100);
    EXPECT_EQ(media::AnimatedPictures::speedPercent(-5), 100);
    EXPECT_EQ(media::AnimatedPictures::speedPercent(1), 2);
}

TEST_F(AnimatedPictures, AHiddenAnimationStopsAndRestartsFromItsFirstFrameWhenShown)
{
    animatedArea(1, QStringLiteral("flame.gif"), {"lit"}, 50);
    engine::Game& game = start(1);
    platform::Element* box = game.element(QStringLiteral("AniGifBox(1)"));
    platform::Animation* gif = game.animations().AniGif(1);
    EXPECT_FALSE(box->shown());
    game.ChangeVariableValue(QStringLiteral("lit"), 1);
    game.ShowOrNotShowAreas();
    EXPECT_TRUE(box->shown());
    EXPECT_TRUE(gif->playing());
    game.ChangeVariableValue(QStringLiteral("lit"), 0);
    game.ShowOrNotShowAreas();
    EXPECT_FALSE(box->shown());
    EXPECT_FALSE(gif->playing());
    game.ChangeVariableValue(QStringLiteral("lit"), 1);
    game.ShowOrNotShowAreas();
    EXPECT_TRUE(gif->playing());
    EXPECT_EQ(gif->currentFrame(), 0);
}

TEST_F(AnimatedPictures, AMissingFileLeavesAnEmptyBoxWithoutAMessage)
{
    animatedArea(1, QStringLiteral("gone.gif"), {}, 50);
    engine::Game& game = start(1);
    const auto texts = player->takeMessages();
    // Only the missing-file notice of the media name mapping.
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("The following file is missing:")));
    const platform::Element* box = game.element(QStringLiteral("AniGifBox(1)"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->width(), 480);
    EXPECT_FALSE(game.animations().AniGif(1)->playing());
}

TEST_F(AnimatedPictures, AFileThatIsNoAnimationIsReported)
{
    folder.writeBytes(QStringLiteral("Areas/broken.gif"), "GIF89a garbage");
    animatedArea(1, QStringLiteral("broken.gif"), {}, 50);
    start(1);
    const auto texts = player->takeMessages();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], Player::errorReport(QStringLiteral(" Unable to load '") + player->rt().project.AreasPath + QStringLiteral("broken.gif'.")));
}

TEST_F(AnimatedPictures, IndexZeroOrAnEmptyNameCreatesNothing)
{
    engine::Game& game = start(0);
    EXPECT_EQ(game.animations().AniGifNewWithIndex(0, QStringLiteral("x.gif"), 0, 0, 50), 0);
    EXPECT_EQ(game.animations().AniGifNewWithIndex(3, QString(), 0, 0, 50), 0);
    EXPECT_EQ(game.element(QStringLiteral("AniGifBox(3)")), nullptr);
}

TEST_F(AnimatedPictures, OpeningAnotherFrameUnloadsThePictures)
{
    animatedArea(1, QStringLiteral("flame.gif"), {}, 50);
    folder.frame(QStringLiteral("Next"));
    engine::Game& game = start(1);
    game.OpenFrame(QStringLiteral("Next"));
    EXPECT_EQ(game.element(QStringLiteral("AniGifBox(1)")), nullptr);
    EXPECT_EQ(game.animations().AniGif(1), nullptr);
}

TEST_F(AnimatedPictures, TheBoxTakesPressesOnItsPictureAsClicksOnTheArea)
{
    animatedArea(1, QStringLiteral("flame.gif"), {}, 50);
    folder.writeBytes(QStringLiteral("Areas/Start/1b.dat"), demo::ActionRecord().set(1, 1).set(2, "lit").set(5, 1).bytes());
    engine::Game& game = start(1);
    automation::ScriptRunner runner(player->rt(), QString());
    // By name, and at a pixel of the picture (the box lies at 22, 32).
    ASSERT_TRUE(runner.run({QStringLiteral("click AniGifBox(1)")}));
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("lit")), 1);
    ASSERT_TRUE(runner.run({QStringLiteral("click-at 25 40")}));
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("lit")), 0);
    // The right button opens the menus instead.
    ASSERT_TRUE(runner.run({QStringLiteral("click AniGifBox(1) right")}));
    EXPECT_TRUE(game.menus().open());
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("lit")), 0);
}

TEST_F(AnimatedPictures, MovingOntoThePictureAsksTheInventoryBarToClose)
{
    animatedArea(1, QStringLiteral("flame.gif"), {}, 50);
    engine::Game& game = start(1);
    game.InventoryDirection = 1;
    automation::ScriptRunner runner(player->rt(), QString());
    ASSERT_TRUE(runner.run({QStringLiteral("move-at 25 40")}));
    EXPECT_EQ(game.InventoryDirection, 2);
}
