// Metafile pictures (WMF and EMF) written by libuemf and drawn by the
// player: each shape in a known colour at a known place, checked by pixels.
#include "demo/metafile_writer.h"
#include "pictures/drawing_budget.h"
#include "pictures/emf_player.h"
#include "pictures/metafile_bytes.h"
#include "pictures/picture_decoder.h"
#include "pictures/wmf_player.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QGraphicsView>

#include <gtest/gtest.h>

namespace {

using Kind = MetafileWriter::Kind;

using metafile_bytes::IsTransparent;

// The bytes of a picture of the given kind with what draw puts in it.
const auto metafile = &metafile_bytes::Written;

class Metafiles : public ::testing::TestWithParam<Kind> {};

} // namespace

TEST_P(Metafiles, ThePictureHasTheSizeItsHeaderGives)
{
    const QImage image = pictures::DecodePicture(metafile(GetParam(), QSize(200, 150), [](MetafileWriter&) {}));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(200, 150));
    // Nothing drawn is nothing: the picture is transparent.
    EXPECT_TRUE(IsTransparent(image, 100, 75));
}

TEST_P(Metafiles, FilledShapesAreDrawnInTheirBrushWithTheirPenAround)
{
    const QImage image = pictures::DecodePicture(metafile(GetParam(), QSize(200, 150), [](MetafileWriter& w) {
        w.setPen(Qt::yellow, 4);
        w.setBrush(Qt::red);
        w.rectangle(QRect(10, 10, 40, 30));
        w.setNoPen();
        w.setBrush(Qt::green);
        w.ellipse(QRect(60, 10, 40, 40));
        w.setBrush(Qt::blue);
        w.polygon({QPoint(110, 50), QPoint(150, 50), QPoint(130, 10)});
        w.setBrush(Qt::magenta);
        w.polyPolygon({{QPoint(10, 60), QPoint(30, 60), QPoint(30, 80), QPoint(10, 80)},
                       {QPoint(40, 60), QPoint(60, 60), QPoint(60, 80), QPoint(40, 80)}});
        w.setBrush(Qt::cyan);
        w.roundRect(QRect(70, 60, 50, 30), QSize(20, 20));
    }));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(30, 25), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(10, 25), QColor(Qt::yellow));
    EXPECT_EQ(image.pixelColor(80, 30), QColor(Qt::green));
    EXPECT_TRUE(IsTransparent(image, 61, 11)); // the corner outside the ellipse
    EXPECT_EQ(image.pixelColor(130, 40), QColor(Qt::blue));
    EXPECT_TRUE(IsTransparent(image, 112, 12));
    EXPECT_EQ(image.pixelColor(20, 70), QColor(Qt::magenta));
    EXPECT_EQ(image.pixelColor(50, 70), QColor(Qt::magenta));
    EXPECT_TRUE(IsTransparent(image, 35, 70)); // between the two polygons
    EXPECT_EQ(image.pixelColor(95, 75), QColor(Qt::cyan));
    EXPECT_TRUE(IsTransparent(image, 70, 60)); // the rounded corner
}

TEST_P(Metafiles, PiesAndArcsRunCounterClockwiseFromStartToEnd)
{
    const QImage image = pictures::DecodePicture(metafile(GetParam(), QSize(200, 150), [](MetafileWriter& w) {
        w.setNoPen();
        w.setBrush(Qt::red);
        // From three o'clock to twelve o'clock: the top right quarter.
        w.pie(QRect(10, 10, 80, 80), QPoint(90, 50), QPoint(50, 10));
        w.setPen(Qt::blue, 6);
        // The bottom half of a circle, from nine o'clock to three o'clock.
        w.arc(QRect(110, 10, 80, 80), QPoint(110, 50), QPoint(190, 50));
        w.polyline({QPoint(10, 120), QPoint(190, 120)});
    }));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(70, 30), QColor(Qt::red));
    EXPECT_TRUE(IsTransparent(image, 30, 30));
    EXPECT_TRUE(IsTransparent(image, 70, 70));
    EXPECT_EQ(image.pixelColor(150, 88), QColor(Qt::blue));
    EXPECT_TRUE(IsTransparent(image, 150, 12));
    EXPECT_EQ(image.pixelColor(100, 120), QColor(Qt::blue));
}

TEST_P(Metafiles, TextIsDrawnInItsColourBelowItsPoint)
{
    const QImage image = pictures::DecodePicture(metafile(GetParam(), QSize(200, 60), [](MetafileWriter& w) {
        w.setTextColor(Qt::black);
        w.text(QPoint(10, 10), QStringLiteral("MMMM"), 30);
    }));
    ASSERT_FALSE(image.isNull());
    int ink = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128) {
                ++ink;
                EXPECT_GE(y, 10);
                EXPECT_LE(y, 42);
                EXPECT_GE(x, 10);
            }
        }
    }
    EXPECT_GT(ink, 200);
}

TEST_P(Metafiles, BitmapsAreStretchedOntoTheirRectangleTheRightWayUp)
{
    QImage quarters(2, 2, QImage::Format_RGB32);
    quarters.setPixelColor(0, 0, Qt::red);
    quarters.setPixelColor(1, 0, Qt::green);
    quarters.setPixelColor(0, 1, Qt::blue);
    quarters.setPixelColor(1, 1, Qt::yellow);
    const QImage image = pictures::DecodePicture(metafile(GetParam(), QSize(100, 100), [&](MetafileWriter& w) {
        w.bitmap(QRect(20, 20, 40, 40), quarters);
    }));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(28, 28), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(52, 28), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(28, 52), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(52, 52), QColor(Qt::yellow));
    EXPECT_TRUE(IsTransparent(image, 10, 10));
}

TEST_P(Metafiles, DrawingStopsWithinItsBudgetKeepingWhatWasDrawn)
{
    // Two thousand records over half the picture, between two over the
    // other half.
    const QByteArray bytes = metafile(GetParam(), QSize(100, 100), [](MetafileWriter& w) {
        w.setNoPen();
        w.setBrush(Qt::red);
        w.rectangle(QRect(0, 0, 50, 100));
        w.setBrush(Qt::blue);
        for (int i = 0; i < 2000; ++i)
            w.rectangle(QRect(50, 0, 50, 100));
        w.setBrush(Qt::green);
        w.rectangle(QRect(0, 0, 50, 100));
    });
    pictures::DrawingBudget budget(20.0 * 100 * 100);
    const QImage image = GetParam() == Kind::Wmf ? pictures::WmfPlayer::draw(bytes, budget) : pictures::EmfPlayer::draw(bytes, budget);
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(budget.exhausted());
    EXPECT_LE(budget.used(), budget.limit());
    EXPECT_GT(budget.used(), budget.limit() / 2);
    EXPECT_EQ(image.pixelColor(25, 50), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(75, 50), QColor(Qt::blue));
}

INSTANTIATE_TEST_SUITE_P(WmfAndEmf, Metafiles, ::testing::Values(Kind::Wmf, Kind::Emf),
                         [](const auto& info) { return info.param == Kind::Wmf ? std::string("Wmf") : std::string("Emf"); });

namespace {

// The bytes of a WMF whose records are a red rectangle after one record
// given raw, and the place the rectangle starts at.
QByteArray wmfWithRecordBefore(const QByteArray& record)
{
    QByteArray bytes = metafile(Kind::Wmf, QSize(100, 100), [](MetafileWriter& w) {
        w.setBrush(Qt::red);
        w.rectangle(QRect(10, 10, 80, 80));
    });
    // The rectangle record (function 0x041B) is the one before the end.
    const qsizetype at = bytes.indexOf(QByteArray("\x07\x00\x00\x00\x1b\x04", 6));
    EXPECT_GT(at, 0);
    bytes.insert(at, record);
    return bytes;
}

} // namespace

TEST(MetafileRecords, ARecordOfAnUnknownKindIsSkipped)
{
    const QImage image = pictures::DecodePicture(wmfWithRecordBefore(QByteArray("\x04\x00\x00\x00\x99\x09\x01\x02", 8)));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::red));
}

TEST(MetafileRecords, APolygonClaimingMorePointsThanItsRecordHoldsIsSkipped)
{
    // A polygon of 1000 points in a record of four words.
    const QImage image = pictures::DecodePicture(wmfWithRecordBefore(QByteArray("\x05\x00\x00\x00\x24\x03\xe8\x03\x00\x00", 10)));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(50, 50), QColor(Qt::red));
}

TEST(MetafileRecords, AHeaderOfNoSizeIsNoPicture)
{
    QByteArray bytes = metafile(Kind::Wmf, QSize(100, 100), [](MetafileWriter&) {});
    bytes[14] = 0; // units an inch
    bytes[15] = 0;
    EXPECT_TRUE(pictures::DecodePicture(bytes).isNull());
    QByteArray emf = metafile(Kind::Emf, QSize(100, 100), [](MetafileWriter&) {});
    emf.replace(24, 16, QByteArray(16, '\0')); // the frame
    EXPECT_TRUE(pictures::DecodePicture(emf).isNull());
}

TEST(MetafileRecords, AFileCutShortKeepsWhatItsWholeRecordsDraw)
{
    QByteArray bytes = metafile(Kind::Emf, QSize(100, 100), [](MetafileWriter& w) {
        w.setBrush(Qt::red);
        w.rectangle(QRect(0, 0, 50, 100));
        w.setBrush(Qt::blue);
        w.rectangle(QRect(50, 0, 50, 100));
    });
    // The last rectangle record and the end record lost.
    bytes.chop(20 + 24 + 10);
    const QImage image = pictures::DecodePicture(bytes);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(25, 50), QColor(Qt::red));
    EXPECT_TRUE(IsTransparent(image, 75, 50));
}

TEST(MetafileRecords, AShapeWhoseRowsCrossThousandsOfEdgesIsLeftOut)
{
    // A zigzag of 2,000 points over 100 rows: every row crosses 2,000 edges,
    // and the painter's work on a row grows with the square of its edges
    // (a second for this one, minutes on a picture of the largest size).
    QList<QPoint> zigzag;
    for (int i = 0; i < 2000; ++i)
        zigzag.append(QPoint(i * 4, i % 2 ? 99 : 0));
    const QImage image = pictures::DecodePicture(metafile(Kind::Wmf, QSize(8000, 100), [&](MetafileWriter& w) {
        w.setNoPen();
        w.setBrush(Qt::red);
        w.rectangle(QRect(0, 0, 10, 10));
        w.setBrush(Qt::blue);
        w.polygon(zigzag);
    }));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::red));
    int blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            blue += image.pixelColor(x, y) == QColor(Qt::blue);
    }
    EXPECT_EQ(blue, 0);
}

TEST(MetafileRecords, AMetafileBackgroundAndAMetafileAreaAreDrawnInTheGame)
{
    testsupport::GameFolder folder;
    folder.general();
    folder.variables({});
    folder.frame(QStringLiteral("Start"), {1, "back.wmf", false, false, "", false, 0, "", "", false});
    {
        MetafileWriter back(Kind::Wmf, QSize(640, 480), folder.file(QStringLiteral("Frames/back.007")));
        back.setNoPen();
        back.setBrush(Qt::blue);
        back.rectangle(QRect(0, 0, 640, 480));
        back.setBrush(Qt::yellow);
        back.ellipse(QRect(400, 300, 200, 150));
        ASSERT_TRUE(back.finish());
        MetafileWriter area(Kind::Emf, QSize(100, 100), folder.file(QStringLiteral("Areas/door.008")));
        area.setNoPen();
        area.setBrush(Qt::green);
        area.rectangle(QRect(0, 0, 100, 100));
        ASSERT_TRUE(area.finish());
    }
    // At (100, 100) pixels, 100 by 100.
    folder.area(QStringLiteral("Start"), 1, 1470, 1470, 1560, 1560, QStringLiteral("door.emf"));
    folder.write(QStringLiteral("Frames/Start.lks"), {{1}});
    testsupport::Player player(folder, QSize(640, 480));
    player.start();
    for (const QString& m : player.takeMessages())
        ADD_FAILURE() << m.toStdString();
    engine::Game& game = player.game();
    const QImage shot = game.window().grab().toImage();
    const QPoint origin = game.window().view().mapFromScene(game.element(QStringLiteral("PictureBox"))->scenePos());
    EXPECT_EQ(shot.pixelColor(origin + QPoint(20, 20)), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(origin + QPoint(500, 375)), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(origin + QPoint(150, 150)), QColor(Qt::green));
}
