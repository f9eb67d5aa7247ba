// The player's menu on F10: the game holds while it is open, and each item
// does what it says.
#include "automation/script_runner.h"
#include "support/game_folder.h"
#include "platform/scene_window.h"
#include "support/player.h"

#include <QDir>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

namespace {

// A game whose first frame moves on to the next by its timer, two seconds in.
class PlayerMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({});
        folder.frame(QStringLiteral("Start"), {0, "255", false, false, "", true, 2, "Next", "", false});
        folder.frame(QStringLiteral("Next"));
        run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path(), QSize(800, 600));
        options.screenshotFolder = shots.path();
        player = std::make_unique<Player>(options);
        player->welcome().show();
        runner = std::make_unique<automation::ScriptRunner>(player->rt(), QString());
        ASSERT_TRUE(run({QStringLiteral("click frmWelcome.lblButton(0)"), QStringLiteral("wait 1000")}));
    }
    bool run(const QStringList& lines) { return runner->run(lines); }
    QString frame()
    {
        EXPECT_TRUE(run({QStringLiteral("dump")}));
        return player->rt().log.ofType(QStringLiteral("dump")).back()[QStringLiteral("game")][QStringLiteral("frame")].toString();
    }
    engine::PlayerMenu& menu() { return player->game().playerMenu(); }

    GameFolder folder;
    QTemporaryDir shots;
    std::unique_ptr<Player> player;
    std::unique_ptr<automation::ScriptRunner> runner;
};

} // namespace

TEST_F(PlayerMenuTest, OpenItHoldsTheGameAndResumeGoesOnFromThere)
{
    ASSERT_TRUE(run({QStringLiteral("key F10"), QStringLiteral("wait 60000")}));
    EXPECT_TRUE(menu().isOpen());
    EXPECT_TRUE(player->game().paused());
    EXPECT_EQ(frame(), QStringLiteral("Start"));
    // The items a person sees, in order.
    const QMenu* shown = player->game().window().findChild<QMenu*>(QStringLiteral("PlayerMenu"));
    ASSERT_NE(shown, nullptr);
    QStringList captions;
    for (const QAction* action : shown->actions())
        if (!action->isSeparator())
            captions << action->text();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Resume"), QStringLiteral("Options..."), QStringLiteral("Take a screenshot"), QStringLiteral("Full screen"),
                                     QStringLiteral("Back to the game chooser"), QStringLiteral("Quit")}));
    ASSERT_TRUE(run({QStringLiteral("click PlayerMenu.Resume"), QStringLiteral("wait 999")}));
    EXPECT_FALSE(menu().isOpen());
    EXPECT_FALSE(player->game().paused());
    EXPECT_EQ(frame(), QStringLiteral("Start"));
    ASSERT_TRUE(run({QStringLiteral("wait 1")}));
    EXPECT_EQ(frame(), QStringLiteral("Next"));
}

TEST_F(PlayerMenuTest, EscapeClosesItAsResumeAndAPauseMadeBeforeItStays)
{
    ASSERT_TRUE(run({QStringLiteral("key F10"), QStringLiteral("key Escape"), QStringLiteral("wait 0")}));
    EXPECT_FALSE(menu().isOpen());
    EXPECT_FALSE(player->game().paused());
    ASSERT_TRUE(run({QStringLiteral("key Pause"), QStringLiteral("key F10"), QStringLiteral("click PlayerMenu.Resume")}));
    EXPECT_TRUE(player->game().paused());
    ASSERT_TRUE(run({QStringLiteral("key Pause"), QStringLiteral("wait 1000")}));
    EXPECT_EQ(frame(), QStringLiteral("Next"));
}

TEST_F(PlayerMenuTest, TakeAScreenshotSavesThePictureAndGoesOn)
{
    ASSERT_TRUE(run({QStringLiteral("key F10"), QStringLiteral("click PlayerMenu.Screenshot")}));
    EXPECT_FALSE(player->game().paused());
    const QStringList saved = QDir(shots.path()).entryList({QStringLiteral("*.png")}, QDir::Files);
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(QImage(shots.filePath(saved[0])).size(), QSize(640, 480));
}

TEST_F(PlayerMenuTest, QuitAndBackToTheChooserEndTheGameAndSayWhatComesNext)
{
    ASSERT_TRUE(run({QStringLiteral("key F10"), QStringLiteral("click PlayerMenu.Chooser")}));
    EXPECT_TRUE(player->rt().ended());
    EXPECT_EQ(player->rt().afterEnd(), app::Runtime::AfterEnd::ChooseAGame);
    // Its media stopped as a person's Exit stops them, with no question.
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(PlayerMenuTest, AnItemOfAClosedMenuCannotBeClicked)
{
    EXPECT_FALSE(run({QStringLiteral("click PlayerMenu.Quit")}));
    EXPECT_FALSE(player->rt().ended());
    ASSERT_TRUE(run({QStringLiteral("key F10")}));
    EXPECT_FALSE(run({QStringLiteral("click PlayerMenu.Dance")}));
    ASSERT_TRUE(run({QStringLiteral("click PlayerMenu.Quit")}));
    EXPECT_EQ(player->rt().afterEnd(), app::Runtime::AfterEnd::Quit);
}
