#include "app/application_identity.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

TEST(ApplicationIcon, OffersEverySizeDrawnForIt)
{
    const QList<QSize> sizes = app::ApplicationIcon().availableSizes();
    const QList<QSize> drawn = {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    EXPECT_EQ(sizes, drawn);
}

TEST(ApplicationIcon, ASizeDrawnIsThatPictureAndOneBetweenIsTheLargerScaledDown)
{
    const QIcon icon = app::ApplicationIcon();
    const QImage drawn = icon.pixmap(48).toImage();
    EXPECT_EQ(drawn.size(), QSize(48, 48));
    EXPECT_EQ(drawn, QImage(QStringLiteral(":/icons/loomplay-48.png")).convertToFormat(drawn.format()));
    EXPECT_EQ(icon.pixmap(40).size(), QSize(40, 40));
    // Larger than any drawn: the largest, never blown up.
    EXPECT_EQ(icon.actualSize(QSize(512, 512)), QSize(256, 256));
    EXPECT_EQ(icon.pixmap(512).size(), QSize(256, 256));
}

} // namespace
