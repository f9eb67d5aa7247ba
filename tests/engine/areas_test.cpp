#include "support/game_folder.h"
#include "support/player.h"

#include "automation/script_runner.h"
#include "demo/authoring.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QGraphicsView>
#include <QJsonArray>
#include <QMouseEvent>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class Areas : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"open", "lit"});
        folder.frame(QStringLiteral("Start"));
    }
    void links(const QString& frame, int count) { folder.write(QStringLiteral("Frames/") + frame + QStringLiteral(".lks"), {{count}}); }
    engine::Game& start()
    {
        player = std::make_unique<Player>(folder, QSize(640, 480));
        player->start();
        return player->game();
    }
    platform::Element* area(int i) { return player->game().element(QStringLiteral("Area(%1)").arg(i)); }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(Areas, RectanglesAreInsetByThirtyTwipsAndNeverSmallerThanOne)
{
    folder.area(QStringLiteral("Start"), 1, 300, 450, 50, 40);
    folder.area(QStringLiteral("Start"), 2, 600, 900, 100, 160);
    links(QStringLiteral("Start"), 2);
    start();
    EXPECT_EQ(area(1)->width(), 1);
    EXPECT_EQ(area(1)->height(), 1);
    EXPECT_EQ(area(2)->left(), 630);
    EXPECT_EQ(area(2)->top(), 930);
    EXPECT_EQ(area(2)->width(), 40);
    EXPECT_EQ(area(2)->height(), 100);
    EXPECT_TRUE(area(2)->shown());
    EXPECT_FALSE(area(2)->hasPicture());
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(Areas, StillPicturesStretchOrKeepTheirOwnSize)
{
    folder.picture(QStringLiteral("Areas/door.bmp"), 20, 30);
    folder.picture(QStringLiteral("Areas/lamp.004"), 10, 12);
    folder.area(QStringLiteral("Start"), 1, 0, 0, 1560, 1560, QStringLiteral("door.bmp"), true);
    folder.area(QStringLiteral("Start"), 2, 0, 0, 1560, 1560, QStringLiteral("lamp.bmp"), false);
    links(QStringLiteral("Start"), 2);
    start();
    EXPECT_EQ(area(1)->width(), 1500);
    EXPECT_TRUE(area(1)->stretch());
    EXPECT_EQ(area(2)->width(), 150);
    EXPECT_EQ(area(2)->height(), 180);
    EXPECT_EQ(area(2)->pictureFile(), QStringLiteral("lamp.bmp"));
    // Later areas lie above earlier ones.
    EXPECT_GT(area(2)->zValue(), area(1)->zValue());
}

TEST_F(Areas, ConditionsOnVariablesDecideWhichAreasShow)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600, QString(), false, QString(), {"open"}, {});
    folder.area(QStringLiteral("Start"), 2, 0, 0, 600, 600, QString(), false, QString(), {}, {"open"});
    folder.area(QStringLiteral("Start"), 3, 0, 0, 600, 600, QString(), false, QString(), {"ghost"}, {"ghost"});
    links(QStringLiteral("Start"), 3);
    engine::Game& game = start();
    EXPECT_TRUE(area(1)->shown());
    EXPECT_FALSE(area(2)->shown());
    // A name no variable has satisfies either list.
    EXPECT_TRUE(area(3)->shown());
    game.ChangeVariableValue(QStringLiteral("open"), 1);
    game.ShowOrNotShowAreas();
    EXPECT_FALSE(area(1)->shown());
    EXPECT_TRUE(area(2)->shown());
    game.ChangeVariableValue(QStringLiteral("open"), 2);
    game.ShowOrNotShowAreas();
    EXPECT_FALSE(area(1)->shown());
    EXPECT_FALSE(area(2)->shown());
}

TEST_F(Areas, AMissingAreaFileIsReportedAndTheRestAreBuiltButNotShown)
{
    for (int i : {1, 2, 4, 5})
        folder.area(QStringLiteral("Start"), i, 0, 0, 600, 600);
    links(QStringLiteral("Start"), 5);
    start();
    const auto texts = player->takeMessages();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], Player::errorReport(QStringLiteral(" Unable to load area #3 (out of 5).")));
    EXPECT_EQ(texts[1], QStringLiteral("An error has occurred. The program may not work properly. Press 'Esc' and the click 'Exit' to quit."));
    EXPECT_TRUE(area(1)->shown());
    EXPECT_TRUE(area(2)->shown());
    EXPECT_EQ(area(3), nullptr);
    ASSERT_NE(area(4), nullptr);
    EXPECT_FALSE(area(4)->shown());
    EXPECT_FALSE(area(5)->shown());
}

TEST_F(Areas, ARemovedAreaStaysHiddenWhenItsFrameOpensAgainUntilTheReset)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600);
    links(QStringLiteral("Start"), 1);
    folder.write(QStringLiteral("Areas/Start/1b.dat"), {{0, "", 0, 0, 0, 0, "", 0, "", 1, 0, 0, ""}});
    engine::Game& game = start();
    game.areas().AreaClick(1, 1);
    EXPECT_FALSE(area(1)->shown());
    EXPECT_EQ(game.Disappear.Count(), 1);
    game.OpenFrame(QStringLiteral("Start"));
    EXPECT_FALSE(area(1)->shown());
    game.ResetAll();
    game.StartNewGame();
    EXPECT_TRUE(area(1)->shown());
}

TEST_F(Areas, ARightClickTogglesTheMenusWithoutRunningTheAction)
{
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600);
    links(QStringLiteral("Start"), 1);
    folder.write(QStringLiteral("Areas/Start/1b.dat"), {{1, "open", 0, 1, 0, 0, "", 0, "", 0, 0, 0, ""}});
    engine::Game& game = start();
    game.areas().AreaClick(1, 2);
    EXPECT_TRUE(game.menus().mnuExit.visible);
    EXPECT_TRUE(game.menus().mnuSaveGame.visible);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("open")), 0);
    game.areas().AreaClick(1, 2);
    EXPECT_FALSE(game.menus().mnuExit.visible);
    game.areas().AreaClick(1, 1);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("open")), 1);
}

TEST_F(Areas, AClickOnAnInvisibleHotSpotRunsItsActionThroughTheScene)
{
    folder.area(QStringLiteral("Start"), 1, 1500, 1500, 1500, 1500);
    links(QStringLiteral("Start"), 1);
    folder.frame(QStringLiteral("Next"));
    folder.write(QStringLiteral("Areas/Start/1b.dat"), {{0, "", 0, 0, 0, 0, "", 0, "", 0, 0, 1, "Next"}});
    start();
    // Pixel (150, 150) of the picture lies inside the area (100..198).
    const QPointF inside = player->game().element(QStringLiteral("PictureBox"))->scenePos() + QPointF(150, 150);
    QWidget* viewport = player->game().window().view().viewport();
    const QPoint at = player->game().window().view().mapFromScene(inside);
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    const qint64 before = player->rt().clock().elapsedMs();
    QCoreApplication::sendEvent(viewport, &press);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Next"));
    // The press is followed by a pause of a tenth of a second.
    EXPECT_EQ(player->rt().clock().elapsedMs() - before, 100);
    QCoreApplication::processEvents();
    EXPECT_EQ(area(1), nullptr);
}

TEST_F(Areas, CustomCursorsComeFromTheIconsFolderWithTheirHotSpot)
{
    // A 16 x 16 cursor with its hot spot at (3, 5), stored under its packaged name.
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::black);
    folder.writeBytes(QStringLiteral("Icons/hand.003"), demo::CursorFile(image, 3, 5));
    folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600, QString(), false, QStringLiteral("hand.cur"));
    folder.area(QStringLiteral("Start"), 2, 0, 0, 600, 600, QString(), false, QStringLiteral("DEFAULT"));
    links(QStringLiteral("Start"), 2);
    start();
    EXPECT_TRUE(player->boxes().empty());
    EXPECT_EQ(area(1)->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(area(1)->cursor().hotSpot(), QPoint(3, 5));
    EXPECT_EQ(area(2)->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Areas, TheDumpListsEveryAreaWithItsPlaceAndPicture)
{
    folder.picture(QStringLiteral("Areas/door.bmp"), 20, 30);
    folder.area(QStringLiteral("Start"), 1, 300, 300, 600, 600, QStringLiteral("door.bmp"), true);
    links(QStringLiteral("Start"), 1);
    start();
    automation::ScriptRunner runner(player->rt(), QString());
    ASSERT_TRUE(runner.run({QStringLiteral("dump")}));
    const QJsonObject dump = player->rt().log.ofType(QStringLiteral("dump")).back();
    const QJsonObject a1 = dump[QStringLiteral("windows")][QStringLiteral("Game")][QStringLiteral("elements")][QStringLiteral("Area(1)")].toObject();
    EXPECT_TRUE(a1[QStringLiteral("visible")].toBool());
    EXPECT_EQ(a1[QStringLiteral("left")].toInt(), 330);
    EXPECT_EQ(a1[QStringLiteral("width")].toInt(), 540);
    EXPECT_EQ(a1[QStringLiteral("file")].toString(), QStringLiteral("door.bmp"));
}
