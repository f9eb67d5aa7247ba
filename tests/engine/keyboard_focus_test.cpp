#include "support/game_folder.h"
#include "support/player.h"

#include "automation/script_runner.h"
#include "demo/authoring.h"
#include "platform/scene_window.h"

#include <QGraphicsScene>
#include <QGraphicsView>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

// Play without a mouse in the game window, driven by the script's key lines
// as a keyboard sends them.
class KeyboardFocus : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"used"});
        folder.frame(QStringLiteral("Start"));
        for (const char* name : {"Rope", "Hook", "Grapple"}) {
            folder.picture(QStringLiteral("Areas/%1.bmp").arg(QLatin1String(name)), 32, 32, Qt::darkYellow);
            folder.write(QStringLiteral("Areas/%1.obj").arg(QLatin1String(name)), {{QStringLiteral("%1.bmp").arg(QLatin1String(name))}});
        }
    }
    void links(int count) { folder.write(QStringLiteral("Frames/Start.lks"), {{count}}); }
    // A click on the area sets "used".
    void setsUsed(int area)
    {
        folder.writeBytes(QStringLiteral("Areas/Start/%1b.dat").arg(area), demo::ActionRecord().set(1, 1).set(2, "used").set(4, 1).bytes());
    }
    engine::Game& start(bool focusRing = true)
    {
        run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path());
        options.focusRing = focusRing;
        player = std::make_unique<Player>(options);
        player->start();
        player->takeMessages();
        return player->game();
    }
    bool keys(const QStringList& names)
    {
        QStringList lines;
        for (const QString& name : names)
            lines << QStringLiteral("key ") + name;
        return run(lines);
    }
    bool run(const QStringList& lines)
    {
        automation::ScriptRunner runner(player->rt(), QString());
        return runner.run(lines);
    }
    QString focused() { return player->game().keyboardFocus().focused(); }
    QRectF ring() { return player->game().window().focusRing(); }
    QStringList order()
    {
        QStringList names;
        for (const auto& stop : player->game().keyboardFocus().stops(true))
            names << stop.element->name();
        return names;
    }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(KeyboardFocus, AreasComeInReadingOrderThenTheObjects)
{
    folder.area(QStringLiteral("Start"), 1, 0, 3000, 600, 600);
    folder.area(QStringLiteral("Start"), 2, 3000, 600, 600, 600);
    folder.area(QStringLiteral("Start"), 3, 600, 600, 600, 600);
    // The same top and left as area 3, lying over it: the lower number
    // comes first.
    folder.area(QStringLiteral("Start"), 4, 600, 600, 300, 300);
    links(4);
    start();
    player->game().AddPickedObject(QStringLiteral("Rope"));
    EXPECT_EQ(order(), (QStringList{"Area(3)", "Area(4)", "Area(2)", "Area(1)", "PickedObject(1)"}));
}

TEST_F(KeyboardFocus, AnAreaCoveredByOthersAllOverIsLeftOut)
{
    folder.area(QStringLiteral("Start"), 1, 600, 600, 600, 600);
    // Later areas lie above earlier ones.
    folder.area(QStringLiteral("Start"), 2, 0, 0, 3000, 3000);
    links(2);
    start();
    EXPECT_EQ(order(), QStringList{"Area(2)"});
}

TEST_F(KeyboardFocus, TheRingIsHiddenUntilTheFirstTabAndGoesWhenThePointerMoves)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600);
    links(1);
    start();
    EXPECT_TRUE(focused().isEmpty());
    EXPECT_TRUE(ring().isEmpty());
    ASSERT_TRUE(keys({QStringLiteral("Tab")}));
    EXPECT_EQ(focused(), QStringLiteral("Area(1)"));
    EXPECT_EQ(ring(), QRectF(2, 2, 36, 36));
    ASSERT_TRUE(run({QStringLiteral("move BackImage")}));
    EXPECT_TRUE(focused().isEmpty());
    EXPECT_TRUE(ring().isEmpty());
}

TEST_F(KeyboardFocus, TabAndShiftTabGoRoundBothWays)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600);
    folder.area(QStringLiteral("Start"), 2, 1500, 0, 600, 600);
    links(2);
    start();
    ASSERT_TRUE(keys({QStringLiteral("Shift+Tab")}));
    EXPECT_EQ(focused(), QStringLiteral("Area(2)"));
    ASSERT_TRUE(keys({QStringLiteral("Tab")}));
    EXPECT_EQ(focused(), QStringLiteral("Area(1)"));
    ASSERT_TRUE(keys({QStringLiteral("Shift+Tab")}));
    EXPECT_EQ(focused(), QStringLiteral("Area(2)"));
}

TEST_F(KeyboardFocus, EnterClicksAPartlyCoveredAreaWhereItShows)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 3060, 3060);
    // Over all of area 1 but its lowest rows, its middle too.
    folder.area(QStringLiteral("Start"), 2, 0, 0, 3060, 2460);
    setsUsed(1);
    links(2);
    engine::Game& game = start();
    ASSERT_TRUE(keys({QStringLiteral("Tab")}));
    ASSERT_EQ(focused(), QStringLiteral("Area(1)"));
    ASSERT_TRUE(keys({QStringLiteral("Enter")}));
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("used")), 1);
}

TEST_F(KeyboardFocus, SpaceClicksLikeEnterAndEnterWithoutTheRingIsTheGames)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600);
    setsUsed(1);
    links(1);
    engine::Game& game = start();
    ASSERT_TRUE(keys({QStringLiteral("Enter")}));
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("used")), 0);
    ASSERT_TRUE(keys({QStringLiteral("Tab"), QStringLiteral("Space")}));
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("used")), 1);
}

TEST_F(KeyboardFocus, AFrameOpeningTakesTheRingAway)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600);
    links(1);
    engine::Game& game = start();
    ASSERT_TRUE(keys({QStringLiteral("Tab")}));
    game.OpenFrame(QStringLiteral("Start"));
    EXPECT_TRUE(focused().isEmpty());
    EXPECT_TRUE(ring().isEmpty());
}

TEST_F(KeyboardFocus, AnObjectTakenUpByEnterIsDroppedOnAnotherByEnter)
{
    folder.write(QStringLiteral("Areas/Rope_on_Hook.drg"), {{1, 1, 1, "Grapple"}});
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Rope"));
    game.AddPickedObject(QStringLiteral("Hook"));
    ASSERT_TRUE(keys({QStringLiteral("Tab"), QStringLiteral("Enter")}));
    EXPECT_TRUE(game.inventory().dragging());
    EXPECT_EQ(game.DraggedObjectIndex, 1);
    ASSERT_TRUE(keys({QStringLiteral("Tab")}));
    EXPECT_EQ(focused(), QStringLiteral("PickedObject(2)"));
    ASSERT_TRUE(keys({QStringLiteral("Enter")}));
    EXPECT_FALSE(game.inventory().dragging());
    EXPECT_EQ(game.inventory().tags(), QStringList{"Grapple"});
}

TEST_F(KeyboardFocus, AnObjectCarriedOntoAnAreaRunsTheAreasRecord)
{
    folder.area(QStringLiteral("Start"), 1, 1500, 1500, 3000, 3000);
    links(1);
    folder.writeBytes(QStringLiteral("Areas/Start/1_Rope.drg"), demo::ActionRecord().set(1, 1).set(2, "used").set(4, 1).set(10, 1).bytes());
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Rope"));
    // The bar opens on the object and stays open while it is carried.
    ASSERT_TRUE(keys({QStringLiteral("Shift+Tab"), QStringLiteral("Enter"), QStringLiteral("Tab")}));
    EXPECT_EQ(focused(), QStringLiteral("Area(1)"));
    EXPECT_EQ(game.element(QStringLiteral("Inventory1"))->top(), 0);
    ASSERT_TRUE(keys({QStringLiteral("Enter")}));
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("used")), 1);
    EXPECT_TRUE(game.inventory().tags().isEmpty());
}

TEST_F(KeyboardFocus, EscapePutsACarriedObjectBackAndOtherwiseOpensTheMenus)
{
    folder.write(QStringLiteral("Areas/Rope_on_Hook.drg"), {{1, 1, 1, "Grapple"}});
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Rope"));
    game.AddPickedObject(QStringLiteral("Hook"));
    const auto items = game.window().scene().items().size();
    ASSERT_TRUE(keys({QStringLiteral("Tab"), QStringLiteral("Enter"), QStringLiteral("Tab"), QStringLiteral("Escape")}));
    EXPECT_FALSE(game.inventory().dragging());
    EXPECT_EQ(game.window().scene().items().size(), items);
    EXPECT_EQ(focused(), QStringLiteral("PickedObject(1)"));
    EXPECT_EQ(game.inventory().tags(), (QStringList{"Rope", "Hook"}));
    EXPECT_FALSE(game.menus().open());
    ASSERT_TRUE(keys({QStringLiteral("Escape")}));
    EXPECT_TRUE(game.menus().open());
}

TEST_F(KeyboardFocus, ThePointerMovingPutsBackWhatTheKeysCarry)
{
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Rope"));
    ASSERT_TRUE(keys({QStringLiteral("Tab"), QStringLiteral("Enter")}));
    ASSERT_TRUE(game.inventory().dragging());
    ASSERT_TRUE(run({QStringLiteral("move BackImage")}));
    EXPECT_FALSE(game.inventory().dragging());
    EXPECT_TRUE(focused().isEmpty());
}

TEST_F(KeyboardFocus, EscapeDuringADragOfTheMouseOpensTheMenusAsBefore)
{
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Rope"));
    ASSERT_TRUE(keys({QStringLiteral("Tab")}));
    game.inventory().PickedObject_MouseDown(1, 1);
    ASSERT_TRUE(keys({QStringLiteral("Escape")}));
    EXPECT_TRUE(game.menus().open());
    EXPECT_TRUE(game.inventory().dragging());
}

TEST_F(KeyboardFocus, TheRingIsDrawnOverTheGameButNotInItsPicture)
{
    folder.area(QStringLiteral("Start"), 1, 1500, 1500, 1500, 1500);
    links(1);
    engine::Game& game = start();
    game.window().resize(640, 480);
    const QImage before = game.window().picture();
    ASSERT_TRUE(keys({QStringLiteral("Tab")}));
    EXPECT_EQ(game.window().picture(), before);
    const QImage shown = game.window().view().viewport()->grab().toImage();
    const QPoint corner = game.window().view().mapFromScene(ring().topLeft());
    EXPECT_EQ(shown.pixelColor(corner), QColor(255, 214, 0));
}

TEST_F(KeyboardFocus, SwitchedOffTabIsTheGamesAgain)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600);
    links(1);
    start(false);
    ASSERT_TRUE(keys({QStringLiteral("Tab")}));
    EXPECT_TRUE(focused().isEmpty());
    EXPECT_TRUE(ring().isEmpty());
}
