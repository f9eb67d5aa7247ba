#include "automation/script_runner.h"
#include "demo/authoring.h"
#include "media/media.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QGraphicsScene>

#include <QJsonArray>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class Inventory : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"used"});
        folder.frame(QStringLiteral("Start"));
        for (const char* name : {"Key", "Rope", "Hook", "Lamp", "Grapple"}) {
            folder.picture(QStringLiteral("Areas/%1.bmp").arg(QLatin1String(name)), 32, 32, Qt::darkYellow);
            folder.write(QStringLiteral("Areas/%1.obj").arg(QLatin1String(name)), {{QStringLiteral("%1.bmp").arg(QLatin1String(name))}});
        }
    }
    engine::Game& start()
    {
        player = std::make_unique<Player>(folder, QSize(640, 480));
        player->start();
        player->takeMessages();
        return player->game();
    }
    void add(std::initializer_list<const char*> names)
    {
        for (const char* n : names)
            player->game().AddPickedObject(QString::fromLatin1(n));
    }
    QStringList tags() { return player->game().inventory().tags(); }
    platform::Element* object(int i) { return player->game().element(QStringLiteral("PickedObject(%1)").arg(i)); }
    platform::Element* bar() { return player->game().element(QStringLiteral("Inventory1")); }
    void wait(int ms) { player->rt().clock().sleep(ms); }
    bool run(const QStringList& lines)
    {
        automation::ScriptRunner runner(player->rt(), QString());
        return runner.run(lines);
    }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(Inventory, ObjectsFillRowsOfFifteenAtSixHundredFortyPixels)
{
    engine::Game& game = start();
    for (int i = 0; i < 16; ++i)
        game.AddPickedObject(QStringLiteral("Key"));
    EXPECT_EQ(game.ObjectsCount, 16);
    EXPECT_EQ(object(1)->left(), 150);
    EXPECT_EQ(object(1)->top(), 150);
    EXPECT_EQ(object(15)->left(), (14 * 42 + 10) * 15);
    EXPECT_EQ(object(16)->left(), 150);
    EXPECT_EQ(object(16)->top(), (10 + 32 + 10) * 15);
    EXPECT_EQ(bar()->height(), 94 * 15);
    EXPECT_EQ(object(1)->toolTip(), QStringLiteral("Key"));
    EXPECT_EQ(object(1)->width(), 480);
}

TEST_F(Inventory, TheBarIsFiftyTwoPixelsHighForUpToFifteenObjects)
{
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Key"));
    EXPECT_EQ(bar()->height(), 52 * 15);
    EXPECT_EQ(game.inventory().barHeight(15), 52 * 15);
    EXPECT_EQ(game.inventory().barHeight(30), 94 * 15);
    EXPECT_EQ(game.inventory().barHeight(31), 136 * 15);
    EXPECT_TRUE(game.element(QStringLiteral("Inventory2"))->shown());
}

TEST_F(Inventory, RemovingTheSecondOfFourMovesThePicturesDown)
{
    engine::Game& game = start();
    add({"Key", "Rope", "Hook", "Lamp"});
    game.RemovePickedObject(2);
    EXPECT_EQ(tags(), (QStringList{"Key", "Hook", "Lamp"}));
    EXPECT_EQ(game.ObjectsCount, 3);
    EXPECT_EQ(object(4), nullptr);
    EXPECT_EQ(object(2)->toolTip(), QStringLiteral("Hook"));
    EXPECT_EQ(object(3)->left(), (2 * 42 + 10) * 15);
    EXPECT_EQ(object(2)->pictureFile(), QStringLiteral("Hook.bmp"));
}

TEST_F(Inventory, TheLastObjectGoneHidesTheTab)
{
    engine::Game& game = start();
    add({"Key"});
    game.RemovePickedObject(1);
    EXPECT_EQ(game.ObjectsCount, 0);
    EXPECT_FALSE(game.element(QStringLiteral("Inventory2"))->shown());
    game.RemovePickedObject(1);
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to remove the item from the inventory."))});
}

TEST_F(Inventory, AMissingObjectFileLeavesTheInventoryUnchanged)
{
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Ghost"));
    EXPECT_EQ(game.ObjectsCount, 0);
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to pick up 'Ghost'."))});
}

TEST_F(Inventory, ClickingAnAreaWithAPickRecordPicksItsObjectUp)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600);
    folder.area(QStringLiteral("Start"), 2, 0, 0, 600, 600);
    folder.write(QStringLiteral("Frames/Start.lks"), {{2}});
    folder.write(QStringLiteral("Areas/Start/1c.dat"), {{1, "Rope"}});
    folder.write(QStringLiteral("Areas/Start/2c.dat"), {{0, "Key"}});
    engine::Game& game = start();
    game.areas().AreaClick(2, 1);
    game.areas().AreaClick(1, 1);
    EXPECT_EQ(tags(), QStringList{"Rope"});
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Inventory, CombiningTheFirstOntoTheThirdRemovesBothAndAddsTheNewObject)
{
    folder.write(QStringLiteral("Areas/Rope_on_Hook.drg"), {{1, 1, 1, "Grapple"}});
    engine::Game& game = start();
    add({"Rope", "Key", "Hook", "Lamp"});
    ASSERT_TRUE(run({QStringLiteral("drag PickedObject(1) PickedObject(3)")}));
    EXPECT_EQ(tags(), (QStringList{"Key", "Lamp", "Grapple"}));
    EXPECT_EQ(game.DraggedObjectIndex, 1);
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Inventory, CombiningTheThirdOntoTheFirstRemovesThirdThenFirst)
{
    folder.write(QStringLiteral("Areas/Hook_on_Rope.drg"), {{1, 1, 0, ""}});
    engine::Game& game = start();
    add({"Rope", "Key", "Hook", "Lamp"});
    game.DraggedObjectIndex = 3;
    game.inventory().PickedObject_DragDrop(1, QStringLiteral("PickedObject"));
    EXPECT_EQ(tags(), (QStringList{"Key", "Lamp"}));
}

TEST_F(Inventory, DroppingOnItselfOrWithoutARecordChangesNothing)
{
    engine::Game& game = start();
    add({"Rope", "Key"});
    ASSERT_TRUE(run({QStringLiteral("drag PickedObject(2) PickedObject(2)"), QStringLiteral("drag PickedObject(1) PickedObject(2)")}));
    EXPECT_EQ(tags(), (QStringList{"Rope", "Key"}));
    game.DraggedObjectIndex = 1;
    game.inventory().PickedObject_DragDrop(2, QStringLiteral("Area"));
    EXPECT_EQ(tags(), (QStringList{"Rope", "Key"}));
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Inventory, AnObjectDroppedOnAnAreaRunsItsRecordAndMayEndTheGame)
{
    folder.area(QStringLiteral("Start"), 1, 1500, 1500, 3000, 3000);
    folder.write(QStringLiteral("Frames/Start.lks"), {{1}});
    folder.writeBytes(QStringLiteral("Areas/Start/1_Key.drg"),
                      demo::ActionRecord().set(1, 1).set(2, "used").set(4, 1).set(10, 1).bytes());
    folder.writeBytes(QStringLiteral("Areas/Start/1_Lamp.drg"), demo::ActionRecord().set(11, 1).bytes());
    folder.writeBytes(QStringLiteral("Areas/key.wav"), demo::WavFile(demo::Tone(100)));
    folder.writeBytes(QStringLiteral("Areas/Start/1_Key.chn"), demo::ChannelFile({{.wave = QStringLiteral("key.wav")}}));
    engine::Game& game = start();
    add({"Rope", "Key", "Lamp"});
    ASSERT_TRUE(run({QStringLiteral("drag PickedObject(2) Area(1)")}));
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("used")), 1);
    EXPECT_EQ(tags(), (QStringList{"Rope", "Lamp"}));
    // The object's channel file is named after it, taken before its removal.
    const QJsonObject channel = player->rt().media().state().value(QStringLiteral("channels")).toArray().at(0).toObject();
    EXPECT_EQ(channel.value(QStringLiteral("file")).toString(), player->rt().project.AreasPath + QStringLiteral("key.wav"));
    // The player opens the bar at the tab, then drags.
    ASSERT_TRUE(run({QStringLiteral("move Inventory2"), QStringLiteral("drag PickedObject(2) Area(1)")}));
    EXPECT_FALSE(game.visible());
}

TEST_F(Inventory, TheDraggedPictureFollowsThePointerAndGoesAwayOnRelease)
{
    engine::Game& game = start();
    add({"Rope"});
    game.element(QStringLiteral("Inventory1"))->setTop(0);
    const int before = static_cast<int>(game.window().scene().items().size());
    game.inventory().PickedObject_MouseDown(1, 1);
    EXPECT_EQ(static_cast<int>(game.window().scene().items().size()), before + 1);
}

TEST_F(Inventory, AnObjectInAClosedBarCannotBeDragged)
{
    start();
    add({"Rope"});
    player->rt().clock().sleep(2000);
    ASSERT_TRUE(run({QStringLiteral("move BackImage")}));
    EXPECT_EQ(bar()->top(), -780);
    EXPECT_FALSE(run({QStringLiteral("drag PickedObject(1) BackImage")}));
}

TEST_F(Inventory, WithoutTheBarObjectsLieOnThePicture)
{
    folder.general({.inventoryEnabled = false});
    engine::Game& game = start();
    add({"Rope"});
    EXPECT_EQ(object(1)->parentItem(), game.element(QStringLiteral("PictureBox")));
    EXPECT_FALSE(bar()->shown());
    EXPECT_FALSE(game.element(QStringLiteral("Inventory2"))->shown());
    ASSERT_TRUE(run({QStringLiteral("move PickedObject(1)")}));
    EXPECT_FALSE(game.InventoryMoving);
}

TEST_F(Inventory, MarginsThatLeaveNoRoomAreReportedNotComputed)
{
    folder.general({.marginY = -32, .inventoryEnabled = false});
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Rope"));
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to pick up 'Rope'."))});
}
