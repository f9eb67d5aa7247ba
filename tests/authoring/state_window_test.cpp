// The state window of an author's run: the game's state as it changes, and
// variables edited there.
#include "authoring/state_window.h"
#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "automation/script_runner.h"
#include "engine/game.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QCoreApplication>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using Section = authoring::StateWindow::Section;

namespace {

class StateWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        rt = testsupport::AuthorsDemoRun(game.path());
        ASSERT_TRUE(rt);
        window = std::make_unique<authoring::StateWindow>(*rt);
        rt->frmWelcome().show();
        ASSERT_TRUE(run({QStringLiteral("click Img(0)")}));
    }
    bool run(const QStringList& lines)
    {
        automation::ScriptRunner runner(*rt, QString());
        return runner.run(lines);
    }
    // The rows once the events in hand have run, the window's reading among them.
    QStringList rowsNow(Section section)
    {
        QCoreApplication::processEvents();
        return window->rows(section);
    }

    QTemporaryDir game;
    std::unique_ptr<app::Runtime> rt;
    std::unique_ptr<authoring::StateWindow> window;
};

} // namespace

TEST_F(StateWindow, TheDebugMenusStateItemShowsTheGamesState)
{
    EXPECT_FALSE(window->isVisible());
    rt->game().menus().chooseState();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->rows(Section::Variables),
              (QStringList{QStringLiteral("Hint = 0"), QStringLiteral("GotOil = 0"), QStringLiteral("LampLit = 0"), QStringLiteral("Dry = 0")}));
    EXPECT_EQ(window->rows(Section::History), QStringList{QStringLiteral("Shore")});
    EXPECT_TRUE(window->rows(Section::Inventory).isEmpty());
    EXPECT_TRUE(window->rows(Section::RemovedAreas).isEmpty());
    EXPECT_EQ(window->rows(Section::Timers).size(), 5);
}

TEST_F(StateWindow, WhatTheGameDoesShowsAsItHappens)
{
    rt->game().menus().chooseState();
    ASSERT_TRUE(run({QStringLiteral("click Area(5)"), QStringLiteral("click Area(5)"), QStringLiteral("click Area(2)"), QStringLiteral("wait 3000"),
                     QStringLiteral("click Area(1)")}));
    EXPECT_EQ(rowsNow(Section::History), (QStringList{QStringLiteral("Shore"), QStringLiteral("Stairs")}));
    EXPECT_EQ(rowsNow(Section::Inventory), QStringList{QStringLiteral("Rope")});
    EXPECT_EQ(rowsNow(Section::RemovedAreas), QStringList{QStringLiteral("Shore: area 2")});
}

TEST_F(StateWindow, AVariableEditedThereChangesTheGamesVariable)
{
    rt->game().menus().chooseState();
    EXPECT_TRUE(window->setVariable(QStringLiteral("LampLit"), QStringLiteral("1")));
    EXPECT_EQ(rt->game().GetVariableValue(QStringLiteral("LampLit")), 1);
    EXPECT_TRUE(window->rows(Section::Variables).contains(QStringLiteral("LampLit = 1")));
    EXPECT_TRUE(run({QStringLiteral("expect variable LampLit 1")}));
    // Typed into the table, as an author does.
    auto* table = window->findChild<QTableWidget*>();
    ASSERT_TRUE(table);
    table->item(0, 1)->setText(QStringLiteral("7"));
    EXPECT_EQ(rt->game().GetVariableValue(QStringLiteral("Hint")), 7);
    // What the game cannot take is refused and the game's value shown again.
    EXPECT_FALSE(window->setVariable(QStringLiteral("Hint"), QStringLiteral("lots")));
    EXPECT_FALSE(window->setVariable(QStringLiteral("Nobody"), QStringLiteral("1")));
    table->item(0, 1)->setText(QStringLiteral("40000"));
    EXPECT_EQ(rt->game().GetVariableValue(QStringLiteral("Hint")), 7);
    EXPECT_EQ(window->rows(Section::Variables).value(0), QStringLiteral("Hint = 7"));
}
