#include "support/game_folder.h"
#include "support/player.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class FrameTimer : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({});
        for (const char* name : {"Start", "A", "B", "C", "D"})
            folder.frame(QString::fromLatin1(name));
    }
    engine::Game& start()
    {
        player = std::make_unique<Player>(folder, QSize(640, 480));
        player->start();
        player->takeMessages();
        return player->game();
    }
    void timedFrame(const QString& name, const char* seconds, const char* target)
    {
        folder.frame(name, {0, "0", false, false, "", true, QString::fromLatin1(seconds), target, "", false});
    }
    void wait(int ms) { static_cast<platform::VirtualClock&>(player->rt().clock()).advance(ms); }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(FrameTimer, ATimerOpensItsTargetWhenItFalls)
{
    timedFrame(QStringLiteral("Start"), "1.5", "B");
    start();
    EXPECT_EQ(player->game().Timer1.interval(), 1500);
    wait(1499);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Start"));
    wait(1);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("B"));
    EXPECT_FALSE(player->game().Timer1.enabled());
}

TEST_F(FrameTimer, LastVisitedFrameInAnyCaseGoesBack)
{
    timedFrame(QStringLiteral("D"), "1", "[LAST VISITED FRAME]");
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("A"));
    game.OpenFrame(QStringLiteral("B"));
    game.OpenFrame(QStringLiteral("C"));
    game.OpenFrame(QStringLiteral("D"));
    wait(1000);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("C"));
    EXPECT_EQ(game.FramesHistory(), (QStringList{"Start", "A", "B", "C"}));
}

TEST_F(FrameTimer, SeventySecondsCannotBeSetAndTheFrameNeverTimesOut)
{
    timedFrame(QStringLiteral("A"), "70", "B");
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("A"));
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to load timer duration."))});
    EXPECT_TRUE(game.Timer1.enabled());
    EXPECT_EQ(game.Timer1.interval(), 0);
    wait(200000);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("A"));
}

TEST_F(FrameTimer, AnEmptyTargetKeepsFiringWithoutEffect)
{
    timedFrame(QStringLiteral("A"), "1", "");
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("A"));
    wait(5000);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("A"));
    EXPECT_TRUE(game.Timer1.enabled());
    EXPECT_TRUE(player->takeMessages().empty());
}

TEST_F(FrameTimer, AZeroDurationNeverFires)
{
    timedFrame(QStringLiteral("A"), "0", "B");
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("A"));
    wait(100000);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("A"));
    EXPECT_TRUE(player->takeMessages().empty());
}

TEST_F(FrameTimer, HistoryKeepsTheLastTwentyDistinctVisits)
{
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("A"));
    game.OpenFrame(QStringLiteral("A"));
    EXPECT_EQ(game.FramesHistory(), (QStringList{"Start", "A"}));
    for (int i = 0; i < 25; ++i)
        game.FramesHistoryAdd(QStringLiteral("F%1").arg(i));
    ASSERT_EQ(game.FramesHistory().size(), 20);
    EXPECT_EQ(game.FramesHistory().front(), QStringLiteral("F5"));
    EXPECT_EQ(game.FramesHistory().back(), QStringLiteral("F24"));
    player->takeMessages();
    for (int i = 0; i < 19; ++i)
        game.GoBack();
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("F5"));
    game.GoBack();
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("F5"));
    EXPECT_EQ(game.FramesHistory(), QStringList{"F5"});
}
