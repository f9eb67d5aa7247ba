// Wave files as other programs write them: every sample kind and layout the
// games of the era shipped, each on the clock for its own length.
#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "devices/audio_device.h"
#include "devices/media_module.h"
#include "devices/wave_header.h"
#include "support/ffmpeg.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class WaveFormats : public ::testing::Test {
protected:
    QByteArray tone(const QString& name, int rate, int channels, const QStringList& encoding, double seconds = 1.5)
    {
        return testsupport::ToneByFfmpeg(dir.filePath(name), rate, channels, seconds, encoding);
    }
    qint64 lengthMs(const QByteArray& bytes) { return devices::AudioDevice::lengthMs(audio.decode(bytes)); }

    QTemporaryDir dir;
    devices::MediaModule module;
    devices::AudioDevice audio{module, {.silent = true}};
};

QStringList codec(const char* name, QStringList more = {})
{
    return QStringList{QStringLiteral("-c:a"), QString::fromLatin1(name)} + more;
}

TEST_F(WaveFormats, EverySampleKindPlaysForItsLength)
{
    struct Flavour {
        const char* name;
        int rate;
        int channels;
        QStringList encoding;
        // What the last block's padding (up to 93 ms of ADPCM) and an MP3
        // encoder's delay and padding (which a wave file does not record)
        // add to the sound.
        int toleranceMs;
    };
    const std::vector<Flavour> flavours = {
        {"8-bit mono 8 kHz", 8000, 1, codec("pcm_u8"), 1},
        {"8-bit stereo 22 kHz", 22050, 2, codec("pcm_u8"), 1},
        {"16-bit mono 11 kHz", 11025, 1, codec("pcm_s16le"), 1},
        {"16-bit stereo 48 kHz", 48000, 2, codec("pcm_s16le"), 1},
        {"24-bit extensible", 44100, 2, codec("pcm_s24le"), 1},
        {"float", 32000, 1, codec("pcm_f32le"), 1},
        {"A-law", 8000, 1, codec("pcm_alaw"), 1},
        {"mu-law", 8000, 1, codec("pcm_mulaw"), 1},
        {"IMA ADPCM", 22050, 1, codec("adpcm_ima_wav"), 100},
        {"Microsoft ADPCM", 22050, 2, codec("adpcm_ms"), 100},
        {"MP3 inside", 44100, 2, codec("libmp3lame", {QStringLiteral("-b:a"), QStringLiteral("128k")}), 80},
        {"MPEG-2 MP3 inside", 22050, 1, codec("libmp3lame", {QStringLiteral("-b:a"), QStringLiteral("32k")}), 80},
        {"GSM 6.10", 8000, 1, codec("libgsm_ms"), 50},
    };
    for (const Flavour& flavour : flavours) {
        const QByteArray bytes = tone(QStringLiteral("%1.wav").arg(&flavour - flavours.data()), flavour.rate, flavour.channels,
                                      flavour.encoding);
        ASSERT_FALSE(bytes.isEmpty()) << flavour.name;
        EXPECT_NEAR(lengthMs(bytes), 1500, flavour.toleranceMs) << flavour.name;
        // Without any output the header alone times it.
        const std::optional<devices::WaveHeader> header = devices::ReadWaveHeader(bytes);
        ASSERT_TRUE(header) << flavour.name;
        EXPECT_NEAR(header->lengthMs(), 1500, std::max(flavour.toleranceMs, 5) * 2) << flavour.name;
    }
}

TEST_F(WaveFormats, AnExtensibleHeaderIsReadByTheKindItsSubFormatNames)
{
    const QByteArray bytes = tone(QStringLiteral("wide.wav"), 44100, 2, codec("pcm_s24le"));
    ASSERT_EQ(base::ByteReader(bytes).u16(20), 0xFFFE);
    const std::optional<devices::WaveHeader> header = devices::ReadWaveHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->format, 1);
    EXPECT_TRUE(header->mixerReads());
    EXPECT_EQ(header->bits, 24);
}

TEST_F(WaveFormats, ChunksOfOddSizeAndChunksAfterTheDataAreSkipped)
{
    // ffmpeg's eight-bit wave, its data cut to an odd size, between a
    // chunk of three bytes and a list after the data, each padded to even.
    const QByteArray written = tone(QStringLiteral("plain.wav"), 8000, 1, codec("pcm_u8"));
    const base::ByteReader file(written);
    ASSERT_EQ(file.bytes(12, 4), "fmt ");
    const qsizetype fmtEnd = 20 + qsizetype(file.u32(16));
    const qsizetype data = written.indexOf("data", fmtEnd);
    ASSERT_GT(data, 0);
    const QByteArray samples = written.mid(data + 8, 11999);
    base::ByteWriter body;
    body.raw("WAVE").raw(written.mid(12, fmtEnd - 12));
    body.raw("junk").u32(3).raw("abc").u8(0);
    body.raw("data").u32(quint32(samples.size())).raw(samples).u8(0x80);
    body.raw("LIST").u32(5).raw("INFOx").u8(0);
    const QByteArray odd = base::ByteWriter().raw("RIFF").u32(quint32(body.bytes().size())).raw(body.bytes()).bytes();
    EXPECT_NEAR(lengthMs(odd), 1500, 2);
    EXPECT_NEAR(devices::ReadWaveHeader(odd)->lengthMs(), 1500, 1);
}

} // namespace
