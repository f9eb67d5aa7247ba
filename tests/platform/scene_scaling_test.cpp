// The game picture scaled to a larger window: smooth, sharp, or sharp in
// whole steps with bars; its aspect kept always.
#include "platform/scene_window.h"

#include <QGraphicsView>
#include <QImage>
#include <QSet>

#include <gtest/gtest.h>

using platform::Scaling;
using platform::SceneWindow;

namespace {

// A 100 x 60 scene of one-pixel black and white squares, shown in a window
// 3.5 times as large, grown to fill it as a switched display mode is.
class SceneScaling : public ::testing::Test {
protected:
    void SetUp() override
    {
        QImage tile(2, 2, QImage::Format_RGB32);
        tile.fill(Qt::white);
        tile.setPixel(0, 0, qRgb(0, 0, 0));
        tile.setPixel(1, 1, qRgb(0, 0, 0));
        window.setBackgroundTile(tile);
        window.setSceneSize(100, 60);
        window.setScaleToFill(true);
        window.resize(350, 210);
        window.show();
        window.view().viewport()->resize(350, 210);
    }
    // The distinct greys of the middle of the shown picture.
    QSet<int> greys()
    {
        const QImage shown = window.view().viewport()->grab().toImage();
        QSet<int> seen;
        for (int y = shown.height() / 2 - 20; y < shown.height() / 2 + 20; ++y)
            for (int x = shown.width() / 2 - 20; x < shown.width() / 2 + 20; ++x)
                seen.insert(qGray(shown.pixel(x, y)));
        return seen;
    }

    SceneWindow window{QStringLiteral("Game")};
};

} // namespace

TEST_F(SceneScaling, SmoothFillsTheWindowWithBlendedPixels)
{
    window.setScaling(Scaling::Smooth);
    EXPECT_DOUBLE_EQ(window.viewScale(), 3.5);
    EXPECT_GT(greys().size(), 2);
}

TEST_F(SceneScaling, SharpFillsTheWindowWithTheNearestPixels)
{
    window.setScaling(Scaling::Sharp);
    EXPECT_DOUBLE_EQ(window.viewScale(), 3.5);
    EXPECT_EQ(greys(), (QSet<int>{0, 255}));
}

TEST_F(SceneScaling, WholeStepsTakeTheLargestMultipleThatFits)
{
    window.setScaling(Scaling::WholeSteps);
    EXPECT_DOUBLE_EQ(window.viewScale(), 3);
    EXPECT_EQ(greys(), (QSet<int>{0, 255}));
    // Smaller than the scene, the window shrinks it as Sharp does.
    window.view().viewport()->resize(50, 30);
    window.setScaling(Scaling::WholeSteps);
    EXPECT_DOUBLE_EQ(window.viewScale(), 0.5);
}
