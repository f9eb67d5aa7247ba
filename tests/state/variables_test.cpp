#include "support/game_folder.h"
#include "support/player.h"

#include "state/variables_collection.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class Variables : public ::testing::Test {
protected:
    engine::Game& load()
    {
        folder.general();
        player = std::make_unique<Player>(folder);
        player->welcome();
        engine::Game& game = player->game();
        game.LoadVariables();
        return game;
    }
    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(Variables, EveryVariableStartsAtZeroInTheOrderOfTheFile)
{
    folder.variables({"door", "Door", "lamp"});
    engine::Game& game = load();
    ASSERT_EQ(game.Variables.Count(), 3);
    EXPECT_EQ(game.Variables.Item(1).Name, QStringLiteral("door"));
    EXPECT_EQ(game.Variables.Item(3).Name, QStringLiteral("lamp"));
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("lamp")), 0);
    // Names that differ in letter case are two variables.
    game.ChangeVariableValue(QStringLiteral("Door"), 1);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("door")), 0);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("Door")), 1);
}

TEST_F(Variables, ToggleFlipsTheLowestBit)
{
    folder.variables({"v"});
    engine::Game& game = load();
    game.ChangeVariableValue(QStringLiteral("v"), -1);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("v")), 1);
    game.ChangeVariableValue(QStringLiteral("v"), -1);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("v")), 0);
    game.ChangeVariableValue(QStringLiteral("v"), 2);
    game.ChangeVariableValue(QStringLiteral("v"), -1);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("v")), 3);
}

TEST_F(Variables, ADuplicateNameChangesBothAndReadsTheFirst)
{
    folder.variables({"x", "y", "x"});
    engine::Game& game = load();
    game.Variables.SetValue(3, 5);
    game.ChangeVariableValue(QStringLiteral("x"), -1);
    EXPECT_EQ(game.Variables.Item(1).Value, 1);
    EXPECT_EQ(game.Variables.Item(3).Value, 4);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("x")), 1);
}

TEST_F(Variables, UnknownNamesChangeNothingAndReadMinusOne)
{
    folder.variables({"x"});
    engine::Game& game = load();
    game.ChangeVariableValue(QStringLiteral("nobody"), 1);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("x")), 0);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("nobody")), -1);
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Variables, AnEmptyListHasNoVariables)
{
    folder.variables({});
    engine::Game& game = load();
    EXPECT_EQ(game.Variables.Count(), 0);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("x")), -1);
}

TEST_F(Variables, AMissingListIsReportedOnceAndTheGameStartsWithoutVariables)
{
    folder.frame(QStringLiteral("Start"));
    folder.general();
    player = std::make_unique<Player>(folder);
    player->start();
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to load variables list."))});
    EXPECT_EQ(player->game().Variables.Count(), 0);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Start"));
}

TEST_F(Variables, AShortListKeepsTheNamesReadBeforeTheFailure)
{
    folder.write(QStringLiteral("Config/Variables"), {{3}, {"a"}, {"b"}});
    engine::Game& game = load();
    EXPECT_EQ(game.Variables.Count(), 2);
    EXPECT_EQ(player->takeMessages().size(), 1u);
}

TEST_F(Variables, ASecondNewGameStartsEveryVariableAtZeroAgain)
{
    folder.variables({"a", "b"});
    folder.frame(QStringLiteral("Start"));
    engine::Game& game = load();
    game.ChangeVariableValue(QStringLiteral("b"), 1);
    game.ResetAll();
    game.StartNewGame();
    ASSERT_EQ(game.Variables.Count(), 2);
    EXPECT_EQ(game.Variables.Item(2).Name, QStringLiteral("b"));
    EXPECT_EQ(game.Variables.Item(2).Value, 0);
}

TEST(VariablesCollection, LookupsByNameFollowRemovalsAndRenames)
{
    state::VariablesCollection c;
    c.Add(QStringLiteral("a"), 1);
    c.Add(QStringLiteral("b"), 2);
    c.Add(QStringLiteral("a"), 3);
    EXPECT_EQ(c.PositionsOf(QStringLiteral("a")), (std::vector<std::int32_t>{1, 3}));
    c.Remove(1);
    EXPECT_EQ(c.PositionsOf(QStringLiteral("a")), std::vector<std::int32_t>{2});
    EXPECT_EQ(c.Item(2).Value, 3);
    c.SetName(1, QStringLiteral("a"));
    EXPECT_EQ(c.PositionsOf(QStringLiteral("a")), (std::vector<std::int32_t>{1, 2}));
    EXPECT_TRUE(c.PositionsOf(QStringLiteral("b")).empty());
    c.Add(QStringLiteral("b"), 4);
    EXPECT_EQ(c.PositionsOf(QStringLiteral("b")), std::vector<std::int32_t>{3});
    EXPECT_THROW(c.Item(4), base::Failure);
    EXPECT_THROW(c.Remove(0), base::Failure);
}
