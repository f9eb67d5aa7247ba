#include "support/game_folder.h"
#include "support/player.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

TEST(InterfaceStrings, WithoutATextsFileTheShortSetSpeaksOfTheProgram)
{
    GameFolder folder;
    folder.general();
    Player player(folder);
    player.welcome();
    const run::InterfaceStrings& s = player.rt().strings;
    EXPECT_EQ(s(1), QStringLiteral("Start"));
    EXPECT_EQ(s(8), QStringLiteral("Save..."));
    EXPECT_TRUE(s(30).contains(QStringLiteral("The program may not work")));
    EXPECT_EQ(s(16), QString());
    EXPECT_EQ(s(45), QString());
    EXPECT_THROW(s(61), base::Failure);
    EXPECT_THROW(s(-1), base::Failure);
}

TEST(InterfaceStrings, FormatOneChoosesTheLongSet)
{
    GameFolder folder;
    folder.general();
    folder.write(QStringLiteral("Config/Texts"), {{1}});
    Player player(folder);
    player.welcome();
    const run::InterfaceStrings& s = player.rt().strings;
    EXPECT_EQ(s(1), QStringLiteral("Start New Game"));
    EXPECT_EQ(s(2), QStringLiteral("Load Game..."));
    EXPECT_EQ(s(3), QStringLiteral("Exit"));
    EXPECT_TRUE(s(30).contains(QStringLiteral("This game may not work")));
    EXPECT_EQ(player.welcome().element(QStringLiteral("lblButton(0)"))->text(), QStringLiteral("Start New Game"));
}

TEST(InterfaceStrings, FormatTwoWithOneStringLeavesTheRestEmptyAndHidesTheLoadButton)
{
    GameFolder folder;
    folder.general();
    folder.write(QStringLiteral("Config/Texts"), {{2, 0, 0, 0, 0, 0, 1}, {"Begin"}});
    Player player(folder);
    player.welcome();
    EXPECT_EQ(player.rt().strings(1), QStringLiteral("Begin"));
    EXPECT_EQ(player.rt().strings(2), QString());
    EXPECT_EQ(player.rt().strings(29), QString());
    EXPECT_FALSE(player.welcome().element(QStringLiteral("lblButton(1)"))->shown());
    EXPECT_EQ(player.welcome().element(QStringLiteral("lblButton(2)"))->top(), 1560);
    EXPECT_TRUE(player.boxes().empty());
}

TEST(InterfaceStrings, FormatTwoWithSixtyOneStringsFailsAtTheLastAndFallsBackToTheShortSet)
{
    GameFolder folder;
    folder.general();
    formats::QuotedFieldWriter w;
    w.number(2).number(0).number(0).number(0).number(0).number(0).number(61).endRecord();
    for (int i = 1; i <= 61; ++i)
        w.line(QStringLiteral("text %1").arg(i));
    folder.writeBytes(QStringLiteral("Config/Texts"), w.bytes());
    Player player(folder);
    player.welcome();
    const auto boxes = player.boxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].value(QStringLiteral("title")).toString(), QStringLiteral("Error"));
    EXPECT_EQ(boxes[0].value(QStringLiteral("text")).toString(), QStringLiteral("Unable to load text."));
    EXPECT_EQ(boxes[0].value(QStringLiteral("icon")).toString(), QStringLiteral("critical"));
    EXPECT_EQ(player.rt().strings(1), QStringLiteral("Start"));
    EXPECT_EQ(player.rt().strings(44), QStringLiteral("Make sure that the disk is properly inserted, and then try again."));
    // Entries beyond the built-in sets keep what the file gave them.
    EXPECT_EQ(player.rt().strings(45), QStringLiteral("text 45"));
    EXPECT_EQ(player.rt().strings(60), QStringLiteral("text 60"));
}

TEST(InterfaceStrings, FormatTwoAnnouncingMoreStringsThanTheFileHoldsFallsBack)
{
    GameFolder folder;
    folder.general();
    folder.write(QStringLiteral("Config/Texts"), {{2, 0, 0, 0, 0, 0, 5}, {"One"}, {"Two"}});
    Player player(folder);
    player.welcome();
    ASSERT_FALSE(player.boxes().empty());
    EXPECT_EQ(player.boxes()[0].value(QStringLiteral("text")).toString(), QStringLiteral("Unable to load text."));
    EXPECT_EQ(player.rt().strings(1), QStringLiteral("Start"));
}

TEST(InterfaceStrings, AnUnknownFormatLeavesTheTableEmpty)
{
    GameFolder folder;
    folder.general();
    folder.write(QStringLiteral("Config/Texts"), {{7}});
    Player player(folder);
    player.welcome();
    EXPECT_EQ(player.rt().strings(1), QString());
}
