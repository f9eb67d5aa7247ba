#include "automation/script_runner.h"
#include "saves/frm_load_game.h"
#include "saves/frm_save_game.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

#include <gtest/gtest.h>

using testsupport::GameFolder;

// Return, Escape and Tab in the save and load dialogs, given as a script's
// key lines: the keys reach the control that has the focus, as a person's do.
class DialogKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"door"});
        folder.frame(QStringLiteral("Start"));
        folder.frame(QStringLiteral("Hall"));
        rt = std::make_unique<app::Runtime>(testsupport::ScriptedOptions(folder.path()));
        rt->frmWelcome().show();
    }
    bool run(const QStringList& lines)
    {
        automation::ScriptRunner runner(*rt, QString());
        return runner.run(lines);
    }
    std::vector<QString> texts() { return testsupport::TakeMessageTexts(*rt); }
    QStringList saves() const { return QDir(folder.path()).entryList({QStringLiteral("*.sav")}, QDir::Files, QDir::Name); }
    // A game saved as "morning" in the hall, then ended: the welcome window is back.
    void saveMorningAndQuit()
    {
        ASSERT_TRUE(run({QStringLiteral("click lblButton(0)")}));
        rt->game().OpenFrame(QStringLiteral("Hall"));
        ASSERT_TRUE(run({QStringLiteral("key S"), QStringLiteral("type frmSaveGame.Text1 morning"), QStringLiteral("click frmSaveGame.Command2"),
                         QStringLiteral("key Q"), QStringLiteral("answer yes"), QStringLiteral("wait 100")}));
        ASSERT_TRUE(rt->frmWelcome().window().isVisible());
        rt->log.clear();
    }
    QString focus(const QString& window)
    {
        run({QStringLiteral("dump")});
        const auto dumps = rt->log.ofType(QStringLiteral("dump"));
        rt->log.clear();
        return dumps.empty() ? QStringLiteral("(no dump)")
                             : dumps.back()[QStringLiteral("windows")][window][QStringLiteral("focus")].toString(QStringLiteral("(none)"));
    }

    GameFolder folder;
    std::unique_ptr<app::Runtime> rt;
};

TEST_F(DialogKeys, ReturnInTheNameBoxSavesOnceAndClosesTheSaveDialog)
{
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)"), QStringLiteral("key S"), QStringLiteral("type frmSaveGame.Text1 evening"),
                     QStringLiteral("key Enter")}));
    EXPECT_EQ(saves(), QStringList{QStringLiteral("evening.sav")});
    // Saved once: no question whether to replace what it had just written.
    EXPECT_TRUE(texts().empty());
    EXPECT_FALSE(rt->saveGameIfLoaded());
}

TEST_F(DialogKeys, ReturnOnAFocusedSaveOfTheListReplacesItAfterAsking)
{
    saveMorningAndQuit();
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)"), QStringLiteral("key S"), QStringLiteral("key Tab")}));
    ASSERT_EQ(focus(QStringLiteral("frmSaveGame")), QStringLiteral("List1"));
    ASSERT_TRUE(run({QStringLiteral("select frmSaveGame.List1 morning"), QStringLiteral("answer ok"), QStringLiteral("key Enter")}));
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("'morning' already exists. Do you want to replace it?")});
    EXPECT_FALSE(rt->saveGameIfLoaded());
}

TEST_F(DialogKeys, ReturnOnAFocusedButtonPressesThatButtonNotTheDefault)
{
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)"), QStringLiteral("key S"), QStringLiteral("type frmSaveGame.Text1 evening"),
                     QStringLiteral("key Tab"), QStringLiteral("key Tab"), QStringLiteral("key Tab")}));
    ASSERT_EQ(focus(QStringLiteral("frmSaveGame")), QStringLiteral("Command3"));
    ASSERT_TRUE(run({QStringLiteral("key Enter")}));
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("Please select something.")});
    EXPECT_TRUE(saves().isEmpty());
}

TEST_F(DialogKeys, EscapeCancelsTheSaveDialog)
{
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)"), QStringLiteral("key S"), QStringLiteral("type frmSaveGame.Text1 evening"),
                     QStringLiteral("key Escape")}));
    EXPECT_FALSE(rt->saveGameIfLoaded());
    EXPECT_TRUE(saves().isEmpty());
    // The game goes on, its menus as they were.
    EXPECT_TRUE(rt->game().visible());
    EXPECT_FALSE(rt->game().menus().open());
}

TEST_F(DialogKeys, TabGoesRoundTheSaveDialogsControlsInOrder)
{
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)"), QStringLiteral("key S")}));
    QStringList order{focus(QStringLiteral("frmSaveGame"))};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(run({QStringLiteral("key Tab")}));
        order << focus(QStringLiteral("frmSaveGame"));
    }
    EXPECT_EQ(order, (QStringList{"Text1", "List1", "Command2", "Command3", "Command1", "Text1"}));
    ASSERT_TRUE(run({QStringLiteral("key Shift+Tab")}));
    EXPECT_EQ(focus(QStringLiteral("frmSaveGame")), QStringLiteral("Command1"));
}

TEST_F(DialogKeys, ReturnLoadsTheSelectedSave)
{
    saveMorningAndQuit();
    ASSERT_TRUE(run({QStringLiteral("click lblButton(1)"), QStringLiteral("select frmLoadGame.List1 morning"), QStringLiteral("key Enter")}));
    EXPECT_FALSE(rt->loadGameIfLoaded());
    EXPECT_TRUE(rt->game().visible());
    EXPECT_EQ(rt->frame.CurrentFrameName, QStringLiteral("Hall"));
    EXPECT_TRUE(texts().empty());
}

TEST_F(DialogKeys, EscapeCancelsTheLoadDialogAndTheWelcomeWindowComesBackOnTop)
{
    saveMorningAndQuit();
    ASSERT_TRUE(run({QStringLiteral("click lblButton(1)")}));
    ASSERT_FALSE(rt->frmWelcome().topMost());
    ASSERT_TRUE(run({QStringLiteral("key Escape")}));
    EXPECT_FALSE(rt->loadGameIfLoaded());
    EXPECT_TRUE(rt->frmWelcome().window().isVisible());
    EXPECT_TRUE(rt->frmWelcome().topMost());
    EXPECT_FALSE(rt->ended());
}

TEST_F(DialogKeys, TabGoesFromTheListToLoadAndCancel)
{
    saveMorningAndQuit();
    ASSERT_TRUE(run({QStringLiteral("click lblButton(1)")}));
    QStringList order{focus(QStringLiteral("frmLoadGame"))};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(run({QStringLiteral("key Tab")}));
        order << focus(QStringLiteral("frmLoadGame"));
    }
    EXPECT_EQ(order, (QStringList{"List1", "Command2", "Command1", "List1"}));
    // Return on the focused Cancel cancels.
    ASSERT_TRUE(run({QStringLiteral("key Shift+Tab"), QStringLiteral("key Enter")}));
    EXPECT_FALSE(rt->loadGameIfLoaded());
    EXPECT_FALSE(rt->game().visible());
}
