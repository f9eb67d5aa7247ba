// Metafiles other programs wrote (Inkscape, LibreOffice, gnuplot; see
// tests/data/metafiles/README.md) drawn by the player and compared with the
// pictures Inkscape's metafile reader drew of them.
#include "corpus/ink.h"
#include "pictures/metafile_bytes.h"
#include "pictures/picture_decoder.h"

#include <QDir>
#include <QImage>

#include <gtest/gtest.h>

namespace {

using metafile_bytes::DataFile;
using corpus::Agreement;
using corpus::Inked;
using corpus::InkedPixels;

QDir corpusFolder() { return QDir(QStringLiteral(LOOM_TEST_DATA_DIR "/metafiles")); }

QImage drawn(const QString& name) { return pictures::DecodePicture(DataFile(name)); }

QImage reference(const QString& name) { return QImage(corpusFolder().filePath(QStringLiteral("reference/") + name + QStringLiteral(".png"))); }

QStringList metafiles() { return corpusFolder().entryList({QStringLiteral("*.emf"), QStringLiteral("*.wmf")}, QDir::Files, QDir::Name); }

// Thin lines, hatches and text are drawn by other means than the
// renderer's (pens of a pixel where it smooths them over two, fonts): a
// drawing of the same shapes inks at least half as many pixels, a blank one
// none.
constexpr double InkOfTheRenderer = 0.5;
// One program's WMF and EMF of a drawing differ by the rounding of their
// coordinates (whole pixels in the WMF, hundredths of a millimetre in the
// EMF) and little else.
constexpr double SameDrawing = 0.8;

} // namespace

TEST(MetafileCorpus, HoldsFilesOfEveryProgramAndKind)
{
    const QStringList files = metafiles();
    EXPECT_GE(files.size(), 30);
    for (const char* prefix : {"inkscape_", "libreoffice_", "gnuplot_"})
        EXPECT_FALSE(files.filter(QString::fromLatin1(prefix)).isEmpty()) << prefix;
    EXPECT_FALSE(files.filter(QStringLiteral(".wmf")).isEmpty());
}

TEST(MetafileCorpus, EveryFileIsDrawnWithTheInkTheRendererDraws)
{
    for (const QString& name : metafiles()) {
        SCOPED_TRACE(name.toStdString());
        const QImage ours = drawn(name);
        const QImage theirs = reference(name);
        ASSERT_FALSE(ours.isNull());
        ASSERT_FALSE(theirs.isNull());
        EXPECT_GE(InkedPixels(ours, ours.rect()), InkOfTheRenderer * InkedPixels(theirs, theirs.rect()));
    }
}

TEST(MetafileCorpus, OneProgramsWmfAndEmfOfADrawingLookTheSame)
{
    // LibreOffice writes the same records in both, its pattern fills and
    // parts of pictures left transparent as bitmaps combined with the page
    // by raster operations. (Inkscape leaves out the clipping and draws
    // patterns otherwise in its WMF.)
    int pairs = 0;
    for (const QString& name : metafiles().filter(QStringLiteral("libreoffice_")).filter(QStringLiteral(".emf"))) {
        const QString wmf = name.chopped(4) + QStringLiteral(".wmf");
        if (!corpusFolder().exists(wmf))
            continue;
        SCOPED_TRACE(name.toStdString());
        ++pairs;
        EXPECT_GE(Agreement(drawn(wmf), drawn(name)), SameDrawing);
    }
    EXPECT_GE(pairs, 6);
}

TEST(MetafileCorpus, EmfLinesLandOnTheColumnsTheyWereWrittenOn)
{
    // One-pixel black lines at x = 10, 100, 200, 300 and 318 of a drawing
    // 320 pixels wide, red ones across at y = 20, 120 and 198.
    for (const QString& name : {QStringLiteral("inkscape_rulers.emf"), QStringLiteral("inkscape_rulers.wmf")}) {
        SCOPED_TRACE(name.toStdString());
        const QImage image = drawn(name);
        for (const int x : {10, 100, 200, 300, 318}) {
            EXPECT_EQ(image.pixelColor(x, 60), QColor(Qt::black)) << x;
            EXPECT_FALSE(Inked(image.pixel(x - 1, 60))) << x;
            EXPECT_FALSE(Inked(image.pixel(x + 1, 60))) << x;
        }
        for (const int y : {20, 120, 198}) {
            EXPECT_EQ(image.pixelColor(50, y), QColor(Qt::red)) << y;
            EXPECT_FALSE(Inked(image.pixel(50, y - 1))) << y;
            EXPECT_FALSE(Inked(image.pixel(50, y + 1))) << y;
        }
    }
}

TEST(MetafileCorpus, ClippingPathsKeepTheDrawingInsideThem)
{
    // Stripes over the whole drawing, clipped to a circle right of x = 20
    // and to rectangles from x = 40 on: the first stripe, at x = 0 to 20, is
    // outside both.
    const QImage image = drawn(QStringLiteral("inkscape_clipped_004.emf"));
    EXPECT_EQ(InkedPixels(image, QRect(0, 0, 20, image.height())), 0);
    EXPECT_EQ(InkedPixels(reference(QStringLiteral("inkscape_clipped_004.emf")), QRect(0, 0, 20, image.height())), 0);
    EXPECT_GT(InkedPixels(image, image.rect()), 1000);
}

TEST(MetafileCorpus, MaskedTilesShowTheirPictureAndLeaveTheRestOfTheTileTransparent)
{
    // An ellipse filled with a pattern of red dots, 30 pixels apart, which
    // LibreOffice writes as tiles of two bitmaps: one or'ed onto the page
    // (SRCPAINT), the dots on black, then one and'ed (SRCAND), the dots on
    // white. Whatever the page, the dots come out and the rest of the tile
    // shows the page: here the transparent picture.
    for (const QString& name : {QStringLiteral("libreoffice_masked_tiles.emf"), QStringLiteral("libreoffice_masked_tiles.wmf")}) {
        SCOPED_TRACE(name.toStdString());
        const QImage image = drawn(name);
        const double scale = image.width() / 100.0;
        const auto at = [&](double x, double y) { return QPoint(int(x * scale), int(y * scale)); };
        EXPECT_EQ(image.pixelColor(at(45, 15)), QColor(0xd6, 0x27, 0x28)); // a dot
        EXPECT_TRUE(metafile_bytes::IsTransparent(image, at(30, 30).x(), at(30, 30).y())); // between the dots
        EXPECT_TRUE(metafile_bytes::IsTransparent(image, at(60, 30).x(), at(60, 30).y()));
    }
}

TEST(MetafileCorpus, EmfPlusRecordsInCommentsAreSkippedAndTheRecordsBesideThemDrawn)
{
    const QByteArray bytes = DataFile(QStringLiteral("libreoffice_office_chart_001.emf"));
    ASSERT_TRUE(bytes.contains("EMF+"));
    const QImage image = pictures::DecodePicture(bytes);
    EXPECT_GE(Agreement(image, reference(QStringLiteral("libreoffice_office_chart_001.emf"))), 0.9);
}
