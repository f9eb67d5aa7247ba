// Pictures that are no metafile are read by the kind their bytes say, not by
// their file's name.
#include "pictures/picture_decoder.h"
#include "support/ffmpeg.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray written(const char* format)
{
    QImage image(24, 16, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format)) << format;
    return bytes;
}

// Within what a GIF palette of its own choosing rounds the colour to.
void expectTheRedPicture(const QByteArray& bytes, const char* format)
{
    const QImage image = pictures::DecodePicture(bytes);
    ASSERT_EQ(image.size(), QSize(24, 16)) << format;
    const QColor centre = image.pixelColor(12, 8);
    EXPECT_NEAR(centre.red(), 200, 24) << format;
    EXPECT_NEAR(centre.green(), 40, 24) << format;
}

TEST(PictureDecoder, EveryKindOfPictureIsReadByItsContent)
{
    // BMP, JPEG and PNG by their first bytes; PPM and ICO by Qt's own look
    // at what the bytes are.
    for (const char* format : {"BMP", "JPG", "PNG", "PPM", "ICO"})
        expectTheRedPicture(written(format), format);
    // GIF, which Qt does not write, from ffmpeg.
    QTemporaryDir dir;
    const QString gif = dir.filePath(QStringLiteral("red.gif"));
    ASSERT_TRUE(testsupport::RunFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                        QStringLiteral("color=c=0xC82828:s=24x16:d=0.04"), QStringLiteral("-frames:v"),
                                        QStringLiteral("1"), gif}));
    QFile file(gif);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    expectTheRedPicture(file.readAll(), "GIF");
}

TEST(PictureDecoder, BytesOfNoPictureGiveANullImage)
{
    EXPECT_TRUE(pictures::DecodePicture("BM but no bitmap after it").isNull());
    EXPECT_TRUE(pictures::DecodePicture("GIF89a").isNull());
    EXPECT_TRUE(pictures::DecodePicture(QByteArray(64, 'x')).isNull());
    EXPECT_TRUE(pictures::DecodePicture({}).isNull());
}

QByteArray corpusFile(const char* name)
{
    QFile file(QStringLiteral(LOOM_TEST_DATA_DIR "/metafiles/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// A metafile (here office ones with text, written by LibreOffice) is sized
// from its headers and drawn the first time its pixels are asked for, once
// for every copy; pictures of pixels are decoded at once.
TEST(PictureDecoder, AMetafileIsDrawnWhenItsPixelsAreFirstAskedFor)
{
    // Where each kind's header keeps the picture's box.
    struct Kind {
        const char* name;
        int box, boxBytes;
    };
    for (const auto& [name, box, boxBytes] : {Kind{"libreoffice_text_page_015.emf", 24, 16}, Kind{"libreoffice_text_page_015.wmf", 6, 8}}) {
        const QByteArray bytes = corpusFile(name);
        const base::LazyImage picture = pictures::ReadPicture(bytes);
        const base::LazyImage copy = picture;
        EXPECT_FALSE(picture.isMade()) << name;
        const QImage drawn = pictures::DecodePicture(bytes);
        ASSERT_FALSE(drawn.isNull()) << name;
        EXPECT_EQ(picture.size(), drawn.size()) << name;
        EXPECT_EQ(copy.image(), drawn) << name;
        EXPECT_TRUE(picture.isMade()) << name;
        EXPECT_EQ(picture.image().constBits(), copy.image().constBits()) << name;

        // A header whose box has no size is no picture, found on reading.
        QByteArray empty = bytes;
        empty.replace(box, boxBytes, QByteArray(boxBytes, '\0'));
        EXPECT_TRUE(pictures::ReadPicture(empty).isNull()) << name;
    }
    EXPECT_TRUE(pictures::ReadPicture(written("BMP")).isMade());
}

} // namespace
