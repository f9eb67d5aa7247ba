#include "automation/script_runner.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class TextMessages : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({});
        folder.frame(QStringLiteral("Start"));
        player = std::make_unique<Player>(folder, QSize(640, 480));
        player->start();
    }
    engine::Game& game() { return player->game(); }
    platform::Element* strip() { return game().element(QStringLiteral("FrameMessageBox")); }
    platform::Element* label() { return game().element(QStringLiteral("LabelMessageBox")); }
    void wait(int ms) { player->rt().clock().sleep(ms); }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(TextMessages, TheStripLiesAlongTheBottomWithTheTextCentred)
{
    game().ShowTextMessage(QStringLiteral("The door is locked."), true);
    EXPECT_TRUE(strip()->shown());
    EXPECT_TRUE(label()->shown());
    EXPECT_EQ(strip()->left(), 0);
    EXPECT_EQ(strip()->width(), 9600);
    EXPECT_EQ(strip()->height(), label()->height() + 525);
    EXPECT_EQ(strip()->top(), 7200 - strip()->height());
    EXPECT_EQ(label()->top(), 240);
    EXPECT_NEAR(label()->left() + label()->width() / 2.0, 4800, 15);
    EXPECT_EQ(strip()->backColor(), QColor(Qt::black));
    EXPECT_EQ(label()->foreColor(), QColor(Qt::white));
    EXPECT_TRUE(label()->font().bold());
    EXPECT_EQ(game().TimerMessageBox.interval(), 19 * 70 + 1000);
}

TEST_F(TextMessages, TheStripStaysForSeventyMillisecondsACharacterAndASecond)
{
    game().ShowTextMessage(QString(), true);
    EXPECT_EQ(game().TimerMessageBox.interval(), 1000);
    wait(999);
    EXPECT_TRUE(strip()->shown());
    wait(1);
    EXPECT_FALSE(strip()->shown());
    EXPECT_FALSE(game().TimerMessageBox.enabled());
    EXPECT_EQ(game().TimerMessageBox.interval(), 0);
    game().ShowTextMessage(QStringLiteral("x"), true);
    wait(1069);
    EXPECT_TRUE(strip()->shown());
    wait(1);
    EXPECT_FALSE(strip()->shown());
}

TEST_F(TextMessages, ANewMessageReplacesTheOldOneWithItsOwnFullTime)
{
    game().ShowTextMessage(QStringLiteral("0123456789"), true);
    wait(1000);
    game().ShowTextMessage(QStringLiteral("abc"), true);
    EXPECT_EQ(label()->text(), QStringLiteral("abc"));
    wait(1209);
    EXPECT_TRUE(strip()->shown());
    wait(1);
    EXPECT_FALSE(strip()->shown());
}

TEST_F(TextMessages, AClickOnTheStripOrItsTextClosesIt)
{
    automation::ScriptRunner runner(player->rt(), QString());
    game().ShowTextMessage(QStringLiteral("Click me away"), true);
    ASSERT_TRUE(runner.run({QStringLiteral("click LabelMessageBox")}));
    EXPECT_FALSE(strip()->shown());
    EXPECT_FALSE(game().TimerMessageBox.enabled());
    game().ShowTextMessage(QStringLiteral("And me"), true);
    ASSERT_TRUE(runner.run({QStringLiteral("click-at 5 475")}));
    EXPECT_FALSE(strip()->shown());
}

TEST_F(TextMessages, TheBoxFormLeavesTheStripAlone)
{
    game().ShowTextMessage(QStringLiteral("In the strip"), true);
    game().ShowTextMessage(QStringLiteral("In a box"), false);
    const auto box = player->boxes().back();
    EXPECT_EQ(box.value(QStringLiteral("text")).toString(), QStringLiteral("In a box"));
    EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("information"));
    EXPECT_EQ(box.value(QStringLiteral("title")).toString(), QStringLiteral("Test Game"));
    EXPECT_EQ(label()->text(), QStringLiteral("In the strip"));
    EXPECT_TRUE(strip()->shown());
}

TEST_F(TextMessages, AMessageTooLongForTheTimerIsReportedAndTheStripStays)
{
    game().ShowTextMessage(QString(923, u'a'), true);
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to display text message."))});
    EXPECT_TRUE(strip()->shown());
}

TEST_F(TextMessages, AMessageOfTwoLinesIsAsHighAsBothAndStaysCentred)
{
    game().ShowTextMessage(QStringLiteral("The door is locked."), true);
    const int oneLine = label()->height();
    const int stripOfOne = strip()->height();
    game().ShowTextMessage(QStringLiteral("The door\r\nis locked."), true);
    EXPECT_GE(label()->height(), 2 * oneLine - 30);
    EXPECT_EQ(strip()->height(), label()->height() + 525);
    EXPECT_GT(strip()->height(), stripOfOne);
    EXPECT_EQ(strip()->top(), 7200 - strip()->height());
    // As wide as its longer line, no more.
    const QFontMetrics metrics(label()->font());
    EXPECT_NEAR(label()->width(), metrics.horizontalAdvance(QStringLiteral("is locked.")) * 15, 30);
    EXPECT_NEAR(label()->left() + label()->width() / 2.0, 4800, 15);
}
