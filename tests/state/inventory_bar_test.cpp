#include "automation/script_runner.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QJsonArray>
#include <QTimer>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class InventoryBar : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.variables({});
        folder.frame(QStringLiteral("Start"));
        folder.picture(QStringLiteral("Areas/Key.bmp"), 32, 32);
        folder.write(QStringLiteral("Areas/Key.obj"), {{"Key.bmp"}});
    }
    // General with the inventory settings of group 5.
    void settings(bool slideOpen, bool slideClose, bool customPictures = false, const char* tab = "DEFAULT", const char* background = "DEFAULT")
    {
        folder.general({.slideOpen = slideOpen, .slideClose = slideClose, .customPictures = customPictures,
                        .tabPicture = QString::fromLatin1(tab), .backgroundPicture = QString::fromLatin1(background)});
    }
    engine::Game& start()
    {
        player = std::make_unique<Player>(folder, QSize(640, 480));
        player->start();
        return player->game();
    }
    platform::Element* bar() { return player->game().element(QStringLiteral("Inventory1")); }
    bool run(const QStringList& lines)
    {
        automation::ScriptRunner runner(player->rt(), QString());
        return runner.run(lines);
    }
    qint64 now() { return player->rt().clock().elapsedMs(); }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(InventoryBar, ByDefaultTheBarSlidesDownAtTheTabAndVanishesAtOnceOverTheFrame)
{
    settings(true, false);
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Key"));
    game.InventoryHeldOpen = false;
    game.InventoryDirection = 2;
    game.inventoryBar().Inventory_Move();
    ASSERT_EQ(bar()->top(), -780);
    const qint64 before = now();
    ASSERT_TRUE(run({QStringLiteral("move Inventory2")}));
    EXPECT_EQ(bar()->top(), 0);
    // The slide takes about 0.3 seconds of the clock.
    EXPECT_GE(now() - before, 250);
    EXPECT_LE(now() - before, 450);
    EXPECT_EQ(game.InventoryDirection, 1);
    const qint64 opened = now();
    ASSERT_TRUE(run({QStringLiteral("move BackImage")}));
    EXPECT_EQ(bar()->top(), -780);
    EXPECT_EQ(now(), opened);
}

TEST_F(InventoryBar, APickOpensTheBarWhichStaysOpenUntilThePointerLeaves)
{
    settings(true, false);
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Key"));
    EXPECT_EQ(bar()->top(), 0);
    EXPECT_TRUE(game.InventoryHeldOpen);
    player->rt().clock().sleep(2000);
    EXPECT_FALSE(game.InventoryHeldOpen);
    EXPECT_EQ(bar()->top(), 0);
    ASSERT_TRUE(run({QStringLiteral("move BackImage")}));
    EXPECT_EQ(bar()->top(), -780);
}

TEST_F(InventoryBar, WithSlideCloseTheBarClosesByItselfTwoSecondsAfterAPick)
{
    settings(true, true);
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Key"));
    EXPECT_EQ(bar()->top(), 0);
    // While held open, the pointer on the frame does not close it.
    ASSERT_TRUE(run({QStringLiteral("move BackImage")}));
    EXPECT_EQ(bar()->top(), 0);
    player->rt().clock().sleep(1900);
    EXPECT_EQ(bar()->top(), 0);
    player->rt().clock().sleep(200);
    EXPECT_EQ(bar()->top(), -780);
    EXPECT_EQ(game.InventoryDirection, 2);
    EXPECT_FALSE(game.TimerInventory.enabled());
}

TEST_F(InventoryBar, APointerMoveDuringTheSlideReversesIt)
{
    settings(true, true);
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Key"));
    player->rt().clock().sleep(2000);
    game.InventoryDirection = 1;
    game.inventoryBar().Inventory_Move();
    ASSERT_EQ(bar()->top(), 0);
    // Half-way up, the pointer comes back onto the bar.
    QTimer::singleShot(0, [&game] {});
    platform::Timer turn(player->rt().clock(), QStringLiteral("turn"), 150);
    turn.onTimer([&] {
        turn.setEnabled(false);
        game.inventoryBar().PointerMoved(1);
    });
    turn.setEnabled(true);
    game.InventoryDirection = 2;
    game.inventoryBar().Inventory_Move();
    EXPECT_EQ(bar()->top(), 0);
    EXPECT_EQ(game.InventoryDirection, 1);
}

TEST_F(InventoryBar, TheGamesOwnPicturesDressTheBarOnlyWithCustomPictures)
{
    folder.picture(QStringLiteral("Inventory/tab.bmp"), 60, 20, Qt::green);
    folder.picture(QStringLiteral("Inventory/back.bmp"), 640, 40, Qt::blue);
    settings(true, false, true, "tab.bmp", "back.bmp");
    engine::Game& game = start();
    const platform::Element* background = game.element(QStringLiteral("Inventory_Background"));
    EXPECT_TRUE(background->shown());
    EXPECT_EQ(background->top(), 780 - 600);
    EXPECT_EQ(game.element(QStringLiteral("Inventory2"))->width(), 900);
    game.AddPickedObject(QStringLiteral("Key"));
    EXPECT_EQ(background->top(), 780 - 600);

    settings(true, false, true, "tab.bmp", "Default");
    engine::Game& plain = start();
    EXPECT_FALSE(plain.element(QStringLiteral("Inventory_Background"))->shown());
    settings(true, false, false, "tab.bmp", "back.bmp");
    engine::Game& builtIn = start();
    EXPECT_FALSE(builtIn.element(QStringLiteral("Inventory_Background"))->shown());
    EXPECT_EQ(builtIn.element(QStringLiteral("Inventory2"))->width(), 90 * 15);
    EXPECT_EQ(builtIn.element(QStringLiteral("Inventory2"))->height(), 24 * 15);
}

TEST_F(InventoryBar, TheDumpShowsTheBarAndItsObjects)
{
    settings(true, false);
    start();
    ASSERT_TRUE(run({QStringLiteral("dump")}));
    player->game().AddPickedObject(QStringLiteral("Key"));
    ASSERT_TRUE(run({QStringLiteral("dump")}));
    const QJsonObject dump = player->rt().log.ofType(QStringLiteral("dump")).back();
    const QJsonObject game = dump[QStringLiteral("game")].toObject();
    EXPECT_EQ(game[QStringLiteral("inventory")].toArray(), QJsonArray{QStringLiteral("Key")});
    EXPECT_EQ(game[QStringLiteral("ObjectsCount")].toInt(), 1);
    EXPECT_EQ(game[QStringLiteral("InventoryDirection")].toInt(), 1);
    EXPECT_TRUE(game[QStringLiteral("InventoryHeldOpen")].toBool());
    const QJsonObject elements = dump[QStringLiteral("windows")][QStringLiteral("Game")][QStringLiteral("elements")].toObject();
    EXPECT_EQ(elements[QStringLiteral("PickedObject(1)")][QStringLiteral("tag")].toString(), QStringLiteral("Key"));
    EXPECT_EQ(elements[QStringLiteral("PickedObject(1)")][QStringLiteral("left")].toInt(), 150);
    EXPECT_EQ(elements[QStringLiteral("Inventory1")][QStringLiteral("top")].toInt(), 0);
    EXPECT_EQ(elements[QStringLiteral("Inventory1")][QStringLiteral("height")].toInt(), 780);
}
