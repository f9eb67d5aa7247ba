// Metafile records built by hand, in pictures libuemf wrote: clipping
// regions, world transforms across saved states, comments, the short text
// record, region records and raster operations.
#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "corpus/ink.h"
#include "pictures/metafile_bytes.h"
#include "pictures/picture_decoder.h"

#include <gtest/gtest.h>

namespace {

using namespace metafile_bytes;

// EMF record types and WMF functions, by the format's names.
enum : quint32 {
    EmrSaveDc = 33,
    EmrRestoreDc = 34,
    EmrModifyWorldTransform = 36,
    EmrSelectObject = 37,
    EmrCreateBrushIndirect = 39,
    EmrRectangle = 43,
    EmrComment = 70,
    EmrFillRgn = 71,
    EmrFrameRgn = 72,
    EmrInvertRgn = 73,
    EmrPaintRgn = 74,
    EmrExtSelectClipRgn = 75,
    EmrBitBlt = 76,
    EmrSmallTextOut = 108,
};
enum : quint16 {
    MetaInvertRegion = 0x012A,
    MetaPaintRegion = 0x012B,
    MetaSelectClipRegion = 0x012C,
    MetaSelectObject = 0x012D,
    MetaFillRegion = 0x0228,
    MetaCreatePenIndirect = 0x02FA,
    MetaCreateBrushIndirect = 0x02FC,
    MetaRectangle = 0x041B,
    MetaFrameRegion = 0x0429,
    MetaPatBlt = 0x061D,
    MetaCreateRegion = 0x06FF,
};
enum RegionMode { And = 1, Or, Xor, Diff, Copy };

QByteArray emfBrush(quint32 place, QColor color) { return Emr(EmrCreateBrushIndirect, {qint32(place), 0, Color(color), 0}); }
QByteArray emfSelect(quint32 place) { return Emr(EmrSelectObject, {qint32(place)}); }
QByteArray emfRectangle(const QRect& r) { return Emr(EmrRectangle, {r.left(), r.top(), r.right() + 1, r.bottom() + 1}); }
QByteArray emfClip(const std::vector<QRect>& rects, RegionMode mode)
{
    const QByteArray data = rects.empty() ? QByteArray() : RegionData(rects);
    return Emr(EmrExtSelectClipRgn, {qint32(data.size()), mode}, data);
}
// A transform of a scale and a move, set (4) or multiplied on the left (2).
QByteArray emfTransform(double scale, QPointF move, int mode)
{
    return Emr(EmrModifyWorldTransform, {Float(float(scale)), 0, 0, Float(float(scale)), Float(float(move.x())), Float(float(move.y())), mode});
}
// The whole picture in a red brush without a pen.
QByteArray emfRedEverywhere()
{
    return emfBrush(60, Qt::red) + emfSelect(60) + emfSelect(0x80000008) + emfRectangle(QRect(0, 0, 100, 100));
}

QByteArray wmfBrush(QColor color) { return Meta(MetaCreateBrushIndirect, {0, Color(color) & 0xFFFF, Color(color) >> 16, 0}); }
// A region of one rectangle (right and bottom outside it).
QByteArray wmfRegion(const QRect& r)
{
    const int right = r.right() + 1, bottom = r.bottom() + 1;
    return Meta(MetaCreateRegion, {0, 6, 0, 0, 0, 1, 2, r.left(), r.top(), right, bottom, 2, r.top(), bottom, r.left(), right, 2});
}
QByteArray wmfRectangle(const QRect& r) { return Meta(MetaRectangle, {r.bottom() + 1, r.right() + 1, r.top(), r.left()}); }

bool is(const QImage& image, int x, int y, QColor color) { return image.pixelColor(x, y) == color; }

} // namespace

TEST(EmfClipping, ARegionCopiedIsTheClipping)
{
    const QImage image = pictures::DecodePicture(EmfWith(emfClip({QRect(10, 10, 40, 40)}, Copy) + emfRedEverywhere()));
    EXPECT_TRUE(is(image, 30, 30, Qt::red));
    EXPECT_TRUE(IsTransparent(image, 70, 30));
    EXPECT_TRUE(IsTransparent(image, 5, 5));
}

TEST(EmfClipping, NoRegionCopiedLiftsTheClipping)
{
    const QImage image = pictures::DecodePicture(EmfWith(emfClip({QRect(10, 10, 40, 40)}, Copy) + emfClip({}, Copy) + emfRedEverywhere()));
    EXPECT_TRUE(is(image, 70, 70, Qt::red));
}

TEST(EmfClipping, RegionsOfManyRectanglesClipToAllOfThem)
{
    const QImage image = pictures::DecodePicture(EmfWith(emfClip({QRect(0, 0, 20, 20), QRect(60, 60, 20, 20)}, Copy) + emfRedEverywhere()));
    EXPECT_TRUE(is(image, 10, 10, Qt::red));
    EXPECT_TRUE(is(image, 70, 70, Qt::red));
    EXPECT_TRUE(IsTransparent(image, 40, 40));
}

// The clipping of the left half combined with the top half.
class EmfClipCombination : public ::testing::TestWithParam<RegionMode> {};

TEST_P(EmfClipCombination, CombinesWithTheClipping)
{
    const QImage image = pictures::DecodePicture(
        EmfWith(emfClip({QRect(0, 0, 50, 100)}, Copy) + emfClip({QRect(0, 0, 100, 50)}, GetParam()) + emfRedEverywhere()));
    // Which of the quarters are drawn: top left, top right, bottom left, bottom right.
    const bool topLeft = is(image, 25, 25, Qt::red), topRight = is(image, 75, 25, Qt::red);
    const bool bottomLeft = is(image, 25, 75, Qt::red), bottomRight = is(image, 75, 75, Qt::red);
    switch (GetParam()) {
    case And: EXPECT_TRUE(topLeft && !topRight && !bottomLeft && !bottomRight); break;
    case Or: EXPECT_TRUE(topLeft && topRight && bottomLeft && !bottomRight); break;
    case Xor: EXPECT_TRUE(!topLeft && topRight && bottomLeft && !bottomRight); break;
    case Diff: EXPECT_TRUE(!topLeft && !topRight && bottomLeft && !bottomRight); break;
    case Copy: EXPECT_TRUE(topLeft && topRight && !bottomLeft && !bottomRight); break;
    }
}

namespace {

std::string modeName(const ::testing::TestParamInfo<RegionMode>& info)
{
    static const char* const names[] = {"", "And", "Or", "Xor", "Diff", "Copy"};
    return names[info.param];
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Modes, EmfClipCombination, ::testing::Values(And, Or, Xor, Diff, Copy), modeName);

TEST(EmfClipping, ARegionIsInTheDevicesPixelsWhateverTheWorldTransform)
{
    const QImage image = pictures::DecodePicture(EmfWith(emfTransform(4, QPointF(0, 0), 4) + emfClip({QRect(0, 0, 20, 20)}, Copy) + emfRedEverywhere()));
    EXPECT_TRUE(is(image, 15, 15, Qt::red));
    EXPECT_TRUE(IsTransparent(image, 30, 30));
}

TEST(EmfSavedStates, RestoringBringsBackTheWorldTransformAndClippingOfTheStateSaved)
{
    const QByteArray records = emfBrush(60, Qt::red) + emfSelect(60) + emfSelect(0x80000008)
                               + Emr(EmrSaveDc, {}) + emfTransform(1, QPointF(50, 0), 4) + emfClip({QRect(50, 0, 50, 50)}, Copy)
                               + Emr(EmrSaveDc, {}) + emfTransform(2, QPointF(0, 0), 2) + Emr(EmrRestoreDc, {-1})
                               // moved by 50, not scaled: the top right quarter
                               + emfRectangle(QRect(0, 0, 50, 100))
                               + Emr(EmrRestoreDc, {-1})
                               // neither moved nor clipped: the bottom left quarter
                               + emfBrush(61, Qt::blue) + emfSelect(61) + emfRectangle(QRect(0, 50, 50, 50));
    const QImage image = pictures::DecodePicture(EmfWith(records));
    EXPECT_TRUE(is(image, 75, 25, Qt::red));
    EXPECT_TRUE(IsTransparent(image, 75, 75));
    EXPECT_TRUE(IsTransparent(image, 25, 25));
    EXPECT_TRUE(is(image, 25, 75, Qt::blue));
}

TEST(EmfComments, CommentsOfOtherDrawingRecordsAreSkippedAndTheRecordsBesideThemDrawn)
{
    // A comment holding an EMF+ header record, as office programs write
    // beside their drawing.
    const QByteArray plus = QByteArray("EMF+", 4) + QByteArray::fromHex("01400100 1c000000 10000000 021000db 01000000 60000000 60000000");
    const QImage image = pictures::DecodePicture(EmfWith(Emr(EmrComment, {qint32(plus.size())}, plus) + emfRedEverywhere()));
    EXPECT_TRUE(is(image, 50, 50, Qt::red));
}

namespace {

QByteArray smallText(const QByteArray& text, bool wide, bool withRect)
{
    const quint32 options = (withRect ? 0 : 0x100) | (wide ? 0 : 0x200);
    std::vector<qint32> values{10, 10, qint32(wide ? text.size() / 2 : text.size()), qint32(options), 1, Float(1), Float(1)};
    if (withRect)
        values.insert(values.end(), {0, 0, 100, 40});
    QByteArray padded = text;
    padded.append(QByteArray((4 - padded.size() % 4) % 4, '\0'));
    return Emr(EmrSmallTextOut, values, padded);
}

} // namespace

TEST(EmfSmallText, TextOfEightBitCharactersIsDrawnAtItsPoint)
{
    const QImage image = pictures::DecodePicture(EmfWith(smallText("MMMM", false, false)));
    EXPECT_GT(corpus::InkedPixels(image, QRect(10, 10, 60, 30)), 40);
    EXPECT_EQ(corpus::InkedPixels(image, QRect(0, 50, 100, 50)), 0);
}

TEST(EmfSmallText, TextOfWideCharactersWithItsRectangleIsDrawnAtItsPoint)
{
    const QImage image = pictures::DecodePicture(EmfWith(smallText(QByteArray("M\0M\0M\0M\0", 8), true, true)));
    EXPECT_GT(corpus::InkedPixels(image, QRect(10, 10, 60, 30)), 40);
    EXPECT_EQ(corpus::InkedPixels(image, QRect(0, 50, 100, 50)), 0);
}

namespace {

QByteArray emfRegionRecord(quint32 type, const std::vector<qint32>& before, const QRect& rect)
{
    const QByteArray data = RegionData({rect});
    std::vector<qint32> values{0, 0, 100, 100, qint32(data.size())};
    values.insert(values.end(), before.begin(), before.end());
    return Emr(type, values, data);
}

} // namespace

TEST(EmfRegions, FillRgnFillsTheRegionWithItsBrush)
{
    const QImage image = pictures::DecodePicture(EmfWith(emfBrush(60, Qt::green) + emfRegionRecord(EmrFillRgn, {60}, QRect(10, 10, 30, 30))));
    EXPECT_TRUE(is(image, 20, 20, Qt::green));
    EXPECT_TRUE(IsTransparent(image, 50, 50));
}

TEST(EmfRegions, FrameRgnDrawsABorderOfItsWidthAndHeightInsideTheRegion)
{
    const QImage image = pictures::DecodePicture(EmfWith(emfBrush(60, Qt::blue) + emfRegionRecord(EmrFrameRgn, {60, 4, 2}, QRect(10, 10, 40, 40))));
    EXPECT_TRUE(is(image, 11, 30, Qt::blue));
    EXPECT_TRUE(is(image, 13, 30, Qt::blue));
    EXPECT_TRUE(IsTransparent(image, 15, 30)); // past the border's width of 4
    EXPECT_TRUE(is(image, 30, 11, Qt::blue));
    EXPECT_TRUE(IsTransparent(image, 30, 13)); // past its height of 2
    EXPECT_TRUE(IsTransparent(image, 30, 30));
    EXPECT_TRUE(IsTransparent(image, 8, 30));
}

TEST(EmfRegions, InvertRgnInvertsWhatIsDrawnAndLeavesTheRestTransparent)
{
    const QImage image = pictures::DecodePicture(
        EmfWith(emfBrush(60, Qt::red) + emfSelect(60) + emfSelect(0x80000008) + emfRectangle(QRect(0, 0, 50, 100))
                + emfRegionRecord(EmrInvertRgn, {}, QRect(0, 0, 100, 50))));
    EXPECT_TRUE(is(image, 25, 25, Qt::cyan));
    EXPECT_TRUE(is(image, 25, 75, Qt::red));
    EXPECT_TRUE(IsTransparent(image, 75, 25));
}

TEST(EmfRegions, PaintRgnFillsTheRegionWithTheSelectedBrush)
{
    const QImage image = pictures::DecodePicture(EmfWith(emfBrush(60, Qt::magenta) + emfSelect(60) + emfRegionRecord(EmrPaintRgn, {}, QRect(60, 60, 20, 20))));
    EXPECT_TRUE(is(image, 70, 70, Qt::magenta));
    EXPECT_TRUE(IsTransparent(image, 50, 50));
}

namespace {

// A block transfer without a bitmap over the top half, after the left half
// was drawn red, with a green brush selected.
QImage emfPatBltOverRed(quint32 rop)
{
    const QByteArray records = emfBrush(60, Qt::red) + emfSelect(60) + emfSelect(0x80000008) + emfRectangle(QRect(0, 0, 50, 100))
                               + emfBrush(61, Qt::green) + emfSelect(61)
                               + Emr(EmrBitBlt, {0, 0, 100, 50, 0, 0, 100, 50, qint32(rop), 0, 0, Float(1), 0, 0, Float(1), 0, 0, 0, 0, 0, 0, 0, 0});
    return pictures::DecodePicture(EmfWith(records));
}

} // namespace

TEST(EmfRasterOperations, PatCopyFillsWithTheBrush)
{
    const QImage image = emfPatBltOverRed(0x00F00021);
    EXPECT_TRUE(is(image, 25, 25, Qt::green));
    EXPECT_TRUE(is(image, 75, 25, Qt::green));
    EXPECT_TRUE(is(image, 25, 75, Qt::red));
}

TEST(EmfRasterOperations, PatInvertCombinesTheBrushWithWhatIsDrawnByExclusiveOr)
{
    const QImage image = emfPatBltOverRed(0x005A0049);
    EXPECT_TRUE(is(image, 25, 25, Qt::yellow)); // red and green
    // Over nothing drawn, what shows is whatever is under the picture.
    EXPECT_TRUE(IsTransparent(image, 75, 25));
}

TEST(EmfRasterOperations, DstInvertInvertsWhatIsDrawn)
{
    const QImage image = emfPatBltOverRed(0x00550009);
    EXPECT_TRUE(is(image, 25, 25, Qt::cyan));
    EXPECT_TRUE(IsTransparent(image, 75, 25));
}

TEST(EmfRasterOperations, BlacknessAndWhitenessFillWhateverIsUnder)
{
    const QImage black = emfPatBltOverRed(0x00000042);
    EXPECT_TRUE(is(black, 25, 25, Qt::black));
    EXPECT_TRUE(is(black, 75, 25, Qt::black));
    const QImage white = emfPatBltOverRed(0x00FF0062);
    EXPECT_TRUE(is(white, 25, 25, Qt::white));
    EXPECT_TRUE(is(white, 75, 25, Qt::white));
}

TEST(EmfRasterOperations, AnOperationOverALargePictureReachesEveryRowAndColumn)
{
    // Red everywhere, inverted: a picture too large to combine at once.
    const QByteArray records = emfBrush(60, Qt::red) + emfSelect(60) + emfSelect(0x80000008) + emfRectangle(QRect(0, 0, 1500, 1000))
                               + Emr(EmrBitBlt, {0, 0, 1500, 1000, 0, 0, 1500, 1000, 0x00550009, 0, 0, Float(1), 0, 0, Float(1), 0, 0, 0, 0, 0, 0, 0, 0});
    const QImage image = pictures::DecodePicture(EmfWith(records, QSize(1500, 1000)));
    for (const QPoint p : {QPoint(0, 0), QPoint(1499, 0), QPoint(750, 500), QPoint(0, 999), QPoint(1499, 999)})
        EXPECT_TRUE(is(image, p.x(), p.y(), Qt::cyan)) << p.x() << "," << p.y();
}

TEST(EmfRasterOperations, WhatLightensTheGroundEvenlyComesOutSeeThrough)
{
    // Grey or'ed onto the ground: white on white, grey on black, which is
    // white half seen through.
    const QByteArray records = emfBrush(61, QColor(128, 128, 128)) + emfSelect(61)
                               + Emr(EmrBitBlt, {0, 0, 100, 50, 0, 0, 100, 50, 0x00FA0089, 0, 0, Float(1), 0, 0, Float(1), 0, 0, 0, 0, 0, 0, 0, 0});
    const QImage image = pictures::DecodePicture(EmfWith(records)).convertToFormat(QImage::Format_ARGB32);
    const QRgb pixel = image.pixel(50, 25);
    EXPECT_NEAR(qAlpha(pixel), 128, 1);
    EXPECT_EQ(QColor(pixel).rgb(), QColor(Qt::white).rgb());
    EXPECT_TRUE(IsTransparent(image, 50, 75));
}

TEST(EmfRasterOperations, ExclusiveOrTwiceLeavesNoTrace)
{
    const QByteArray patInvert = Emr(EmrBitBlt, {0, 0, 100, 50, 0, 0, 100, 50, 0x005A0049, 0, 0, Float(1), 0, 0, Float(1), 0, 0, 0, 0, 0, 0, 0, 0});
    const QImage image = pictures::DecodePicture(EmfWith(emfBrush(61, Qt::green) + emfSelect(61) + patInvert + patInvert));
    EXPECT_TRUE(IsTransparent(image, 75, 25));
}

TEST(EmfPlacement, LinesLandOnTheirPixelsOfAScreenWhoseSizeWasCutToWholeMillimetres)
{
    // One-pixel lines at x = 10 ... 318 of a picture 320 pixels wide, made
    // on a screen of 1,024 pixels and 96 dots an inch written as 270 mm wide
    // (270.93 cut), its frame 320.4 pixels wide.
    QByteArray records = emfBrush(60, Qt::black) + emfSelect(60) + emfSelect(0x80000008);
    for (const int x : {10, 100, 200, 300, 318})
        records += emfRectangle(QRect(x, 0, 1, 100));
    QByteArray bytes = EmfWith(records, QSize(320, 100));
    ASSERT_EQ(base::ByteReader(bytes).i32(72), 1024);
    bytes.replace(32, 4, base::ByteWriter().u32(8477).bytes()); // the frame's right, in hundredths of a millimetre
    bytes.replace(80, 4, base::ByteWriter().u32(270).bytes()); // millimetres
    if (base::ByteReader(bytes).u32(4) >= 108)
        bytes.replace(100, 4, base::ByteWriter().u32(270000).bytes()); // micrometres
    const QImage image = pictures::DecodePicture(bytes);
    ASSERT_EQ(image.width(), 320);
    for (const int x : {10, 100, 200, 300, 318}) {
        EXPECT_TRUE(is(image, x, 50, Qt::black)) << x;
        EXPECT_TRUE(IsTransparent(image, x - 1, 50)) << x;
        EXPECT_TRUE(IsTransparent(image, x + 1, 50)) << x;
    }
}

TEST(WmfRegions, FillRegionFillsTheRegionAtItsPlaceWithTheBrushAtItsPlace)
{
    // Objects 0 and 1: a region and a brush.
    const QImage image = pictures::DecodePicture(WmfWith(wmfRegion(QRect(10, 10, 30, 30)) + wmfBrush(Qt::green) + Meta(MetaFillRegion, {0, 1})));
    EXPECT_TRUE(is(image, 20, 20, Qt::green));
    EXPECT_TRUE(IsTransparent(image, 50, 50));
}

TEST(WmfRegions, FrameRegionDrawsABorderInsideTheRegion)
{
    const QImage image = pictures::DecodePicture(WmfWith(wmfRegion(QRect(10, 10, 40, 40)) + wmfBrush(Qt::blue) + Meta(MetaFrameRegion, {0, 1, 2, 4})));
    EXPECT_TRUE(is(image, 13, 30, Qt::blue));
    EXPECT_TRUE(IsTransparent(image, 15, 30));
    EXPECT_TRUE(is(image, 30, 11, Qt::blue));
    EXPECT_TRUE(IsTransparent(image, 30, 13));
}

TEST(WmfRegions, PaintAndInvertRegionUseTheSelectedBrushAndWhatIsDrawn)
{
    const QImage image = pictures::DecodePicture(WmfWith(wmfRegion(QRect(0, 0, 50, 100)) + wmfRegion(QRect(0, 0, 100, 50)) + wmfBrush(Qt::red)
                                                         + Meta(MetaSelectObject, {2}) + Meta(MetaPaintRegion, {0}) + Meta(MetaInvertRegion, {1})));
    EXPECT_TRUE(is(image, 25, 75, Qt::red));
    EXPECT_TRUE(is(image, 25, 25, Qt::cyan));
    EXPECT_TRUE(IsTransparent(image, 75, 25));
}

TEST(WmfRegions, SelectClipRegionClipsToTheRegion)
{
    const QImage image = pictures::DecodePicture(WmfWith(wmfRegion(QRect(10, 10, 40, 40)) + wmfBrush(Qt::red) + Meta(MetaSelectObject, {1})
                                                         + Meta(MetaSelectClipRegion, {0}) + wmfRectangle(QRect(0, 0, 100, 100))));
    EXPECT_TRUE(is(image, 30, 30, Qt::red));
    EXPECT_TRUE(IsTransparent(image, 70, 70));
}

TEST(WmfObjects, AnObjectThatCannotBeReadStillTakesItsPlaceInTheTable)
{
    // A pen cut short before its style, at place 0; the red brush is at
    // place 1.
    const QImage image = pictures::DecodePicture(WmfWith(Meta(MetaCreatePenIndirect, {}) + wmfBrush(Qt::red) + Meta(MetaSelectObject, {1})
                                                         + wmfRectangle(QRect(0, 0, 100, 100))));
    EXPECT_TRUE(is(image, 50, 50, Qt::red));
}

TEST(WmfRasterOperations, PatBltCombinesTheBrushWithWhatIsDrawn)
{
    // Red on the left half, then the green brush by exclusive or over the top half.
    const QImage image = pictures::DecodePicture(WmfWith(wmfBrush(Qt::red) + Meta(MetaSelectObject, {0}) + wmfRectangle(QRect(0, 0, 50, 100))
                                                         + wmfBrush(Qt::green) + Meta(MetaSelectObject, {1})
                                                         + Meta(MetaPatBlt, {0x0049, 0x005A, 50, 100, 0, 0})));
    EXPECT_TRUE(is(image, 25, 25, Qt::yellow));
    EXPECT_TRUE(IsTransparent(image, 75, 25));
}
