#include "saves/frm_load_game.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::GeneralSettings;
using testsupport::Player;

// The welcome window's keyboard: its buttons are labels or pictures that
// take no focus of their own, so the window keeps it and draws it.
class WelcomeKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.variables({});
        folder.frame(QStringLiteral("Start"));
    }
    // On a larger screen than the game's: the resolution box is offered.
    app::FrmWelcome& load(const GeneralSettings& settings = {})
    {
        folder.general(settings);
        player = std::make_unique<Player>(folder, QSize(1024, 768));
        app::FrmWelcome& w = player->welcome();
        w.show();
        return w;
    }
    // The elements that show the keyboard focus.
    QStringList framed()
    {
        QStringList names;
        for (const auto& [name, element] : player->welcome().window().elements()) {
            if (element->focusFrame())
                names << name;
        }
        return names;
    }
    QStringList tabs(int count, int key = Qt::Key_Tab)
    {
        QStringList seen;
        for (int i = 0; i < count; ++i) {
            player->welcome().Form_KeyDown(key);
            seen << framed().join(u',');
        }
        return seen;
    }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(WelcomeKeys, ReturnPressesStart)
{
    app::FrmWelcome& w = load();
    w.Form_KeyDown(Qt::Key_Return);
    EXPECT_TRUE(player->game().visible());
    EXPECT_FALSE(w.window().isVisible());
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Start"));
}

TEST_F(WelcomeKeys, NoFocusIsDrawnUntilTheKeyboardMovesIt)
{
    load();
    EXPECT_TRUE(framed().isEmpty());
    EXPECT_EQ(player->welcome().focusedElement(), QStringLiteral("lblButton(0)"));
}

TEST_F(WelcomeKeys, TabGoesFromStartToLoadExitTheResolutionBoxAndRound)
{
    load();
    EXPECT_EQ(tabs(4), (QStringList{"lblButton(1)", "lblButton(2)", "lblResolution", "lblButton(0)"}));
}

TEST_F(WelcomeKeys, ShiftTabGoesTheOtherWay)
{
    load();
    EXPECT_EQ(tabs(2, Qt::Key_Backtab), (QStringList{"lblResolution", "lblButton(2)"}));
}

TEST_F(WelcomeKeys, ReturnPressesTheFocusedButton)
{
    app::FrmWelcome& w = load();
    w.Form_KeyDown(Qt::Key_Tab);
    w.Form_KeyDown(Qt::Key_Return);
    ASSERT_TRUE(player->rt().loadGameIfLoaded());
    EXPECT_TRUE(player->rt().frmLoadGame().window().isVisible());
    EXPECT_FALSE(player->rt().gameIfLoaded());
}

TEST_F(WelcomeKeys, SpacePressesTheFocusedButton)
{
    app::FrmWelcome& w = load();
    w.Form_KeyDown(Qt::Key_Backtab);
    w.Form_KeyDown(Qt::Key_Backtab);
    w.Form_KeyDown(Qt::Key_Space);
    EXPECT_TRUE(player->rt().ended());
}

TEST_F(WelcomeKeys, SpaceTicksTheFocusedResolutionBoxAndReturnThereStillStarts)
{
    app::FrmWelcome& w = load();
    platform::Element* box = w.element(QStringLiteral("chkResolution"));
    ASSERT_EQ(box->value(), 1);
    w.Form_KeyDown(Qt::Key_Backtab);
    w.Form_KeyDown(Qt::Key_Space);
    EXPECT_EQ(box->value(), 0);
    w.Form_KeyDown(Qt::Key_Return);
    EXPECT_TRUE(player->game().visible());
    // Unticked: the display kept its size.
    EXPECT_EQ(player->rt().display.modeChanges(), 0);
}

TEST_F(WelcomeKeys, HiddenButtonsAndAHiddenBoxAreSkipped)
{
    GeneralSettings settings;
    settings.hideLoadButton = true;
    settings.displayChangeMode = 0;
    load(settings);
    EXPECT_EQ(tabs(2), (QStringList{"lblButton(2)", "lblButton(0)"}));
}

TEST_F(WelcomeKeys, PictureButtonsOfTheSchemeTakeTheFocusInTheirPlace)
{
    folder.picture(QStringLiteral("Schemes/Night/start.bmp"), 100, 20, Qt::green);
    folder.picture(QStringLiteral("Schemes/Night/load.bmp"), 100, 20, Qt::green);
    folder.write(QStringLiteral("Schemes/Night/Scheme.txt"), {{0, 0, 0, 3, "start.bmp", "load.bmp", "[NONE]"}});
    GeneralSettings settings;
    settings.scheme = QStringLiteral("Night");
    settings.groups = 3;
    load(settings);
    EXPECT_EQ(player->welcome().focusedElement(), QStringLiteral("Img(0)"));
    EXPECT_EQ(tabs(2), (QStringList{"Img(1)", "lblButton(2)"}));
}

TEST_F(WelcomeKeys, TheFocusFrameIsDrawnAroundTheFocusedButtonOnly)
{
    app::FrmWelcome& w = load();
    const auto place = [&](const char* name) {
        const platform::Element* e = w.element(QString::fromLatin1(name));
        return QRect(e->left() / 15, e->top() / 15, e->width() / 15, e->height() / 15);
    };
    const QImage before = w.window().grab().toImage();
    w.Form_KeyDown(Qt::Key_Tab);
    const QImage after = w.window().grab().toImage();
    EXPECT_NE(before.copy(place("lblButton(1)")), after.copy(place("lblButton(1)")));
    EXPECT_EQ(before.copy(place("lblButton(0)")), after.copy(place("lblButton(0)")));
}
