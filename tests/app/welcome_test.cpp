#include "run/display_settings.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class Welcome : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({});
        folder.frame(QStringLiteral("Start"));
    }
    app::FrmWelcome& load(QSize screen = QSize(1024, 768))
    {
        player = std::make_unique<Player>(folder, screen);
        return player->welcome();
    }
    QString lastCall() const
    {
        const auto calls = player->rt().log.ofType(QStringLiteral("call"));
        return calls.empty() ? QString() : calls.back().value(QStringLiteral("call")).toString();
    }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(Welcome, ActivationMakesTheWindowTopMost)
{
    app::FrmWelcome& w = load();
    EXPECT_FALSE(w.topMost());
    w.Form_Activate();
    EXPECT_TRUE(w.topMost());
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Welcome, LargeFontsAreQuestionedOnEveryActivationAndNoEndsTheProgram)
{
    app::FrmWelcome& w = load();
    player->rt().display.setLogicalDpi(120);
    player->rt().scriptedDialogs()->queue(platform::MsgAnswer::Yes);
    w.Form_Activate();
    player->rt().scriptedDialogs()->queue(platform::MsgAnswer::Yes);
    w.Form_Activate();
    const auto boxes = player->boxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].value(QStringLiteral("title")).toString(), QStringLiteral("!!!"));
    EXPECT_TRUE(boxes[0].value(QStringLiteral("text")).toString().startsWith(QStringLiteral("Warning! Your system is set to use large fonts.")));
    EXPECT_TRUE(boxes[0].value(QStringLiteral("text")).toString().contains(QStringLiteral("\r\n\r\nTo fix this problem")));
    EXPECT_FALSE(player->rt().ended());
    // With no answer queued the default button, No, ends the program.
    w.Form_Activate();
    EXPECT_TRUE(player->rt().ended());
    player->rt().display.setLogicalDpi(96);
    EXPECT_TRUE(run::IsSmallFonts(player->rt()));
}

TEST_F(Welcome, StartWithTheBoxTickedButHiddenSwitchesNothing)
{
    app::FrmWelcome& w = load(QSize(640, 480));
    EXPECT_EQ(w.element(QStringLiteral("chkResolution"))->value(), 1);
    EXPECT_FALSE(w.element(QStringLiteral("chkResolution"))->shown());
    w.ClickButton(0);
    EXPECT_EQ(player->rt().display.modeChanges(), 0);
    EXPECT_TRUE(player->game().visible());
}

TEST_F(Welcome, StartWithTheBoxTickedSwitchesToTheGameResolutionAfterASecond)
{
    app::FrmWelcome& w = load(QSize(1024, 768));
    const qint64 before = player->rt().clock().elapsedMs();
    w.ClickButton(0);
    EXPECT_EQ(player->rt().display.mode(), QSize(640, 480));
    EXPECT_EQ(player->rt().clock().elapsedMs() - before, 1000 + 0);
    EXPECT_EQ(player->rt().project.SavedScreenWidth, 1024);
}

TEST_F(Welcome, TheEmailLinkAsksAndOpensTheMailClient)
{
    app::FrmWelcome& w = load();
    player->rt().scriptedDialogs()->queue(platform::MsgAnswer::Yes);
    w.txtEmail_Click();
    const auto boxes = player->boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].value(QStringLiteral("text")).toString(),
              QStringLiteral("Do you want to open the default mail client to send an e-mail to: author@example.org ?"));
    EXPECT_EQ(boxes[0].value(QStringLiteral("title")).toString(), QStringLiteral("Test Game"));
    EXPECT_EQ(lastCall(), QStringLiteral("open mailto:author@example.org"));
    EXPECT_FALSE(w.topMost());
}

TEST_F(Welcome, TheWebSiteLinkAnsweredNoOpensNothingAndRestoresTopMost)
{
    app::FrmWelcome& w = load();
    player->rt().scriptedDialogs()->queue(platform::MsgAnswer::No);
    w.txtHomepage_Click();
    EXPECT_EQ(player->boxes()[0].value(QStringLiteral("text")).toString(),
              QStringLiteral("Do you want to visit https://example.org ? (You must be connected to the Internet)"));
    EXPECT_EQ(lastCall(), QString());
    EXPECT_TRUE(w.topMost());
}

TEST_F(Welcome, TheLogoOffersTheProductWebSite)
{
    app::FrmWelcome& w = load();
    player->rt().scriptedDialogs()->queue(platform::MsgAnswer::Yes);
    w.imgLogo_Click();
    const auto box = player->boxes().at(0);
    EXPECT_EQ(box.value(QStringLiteral("title")).toString(), QStringLiteral("Storyloom"));
    EXPECT_EQ(box.value(QStringLiteral("icon")).toString(), QStringLiteral("information"));
    EXPECT_EQ(box.value(QStringLiteral("text")).toString(),
              QStringLiteral("For details and downloads, visit: https://loomplay.org\r\n\r\nDo you want to visit it now? (You must be connected to the Internet)"));
    EXPECT_EQ(lastCall(), QStringLiteral("open https://loomplay.org"));
}

TEST_F(Welcome, TheLogoSitsAtTheTopRightAndFollowsTheSchemesChoice)
{
    app::FrmWelcome& w = load();
    const platform::Element* logo = w.element(QStringLiteral("imgLogo"));
    EXPECT_TRUE(logo->shown());
    EXPECT_EQ(logo->top(), -720);
    EXPECT_EQ(logo->left(), 4560);
    EXPECT_EQ(logo->picture(), w.element(QStringLiteral("imgLogos(0)"))->picture());
}

TEST_F(Welcome, ExitEndsTheProgram)
{
    app::FrmWelcome& w = load();
    w.ClickButton(2);
    EXPECT_TRUE(player->rt().ended());
}
