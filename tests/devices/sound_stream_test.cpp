#include "backend/audio_decoder.h"
#include "base/event_log.h"
#include "base/failure.h"
#include "demo/authoring.h"
#include "devices/audio_device.h"
#include "devices/media_commands.h"
#include "devices/media_module.h"
#include "devices/mp3_library.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"
#include "support/ffmpeg.h"
#include "support/heap.h"

#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

// Sounds of any length cost what half a second decoded ahead does, whatever
// their files claim or hold.
class StreamedSound : public ::testing::Test {
protected:
    QString make(const QString& name, const QStringList& arguments)
    {
        const QString file = dir.filePath(name);
        QString errors;
        EXPECT_TRUE(testsupport::RunFfmpeg(QStringList(arguments) << file, &errors)) << errors.toStdString();
        return file;
    }
    // The heap's growth, in megabytes, over what happens meanwhile.
    template <typename Action>
    static double growthMb(Action&& action)
    {
        const std::size_t before = testsupport::HeapInUse();
        action();
        const std::size_t after = testsupport::HeapInUse();
        return after > before ? double(after - before) / (1 << 20) : 0;
    }

    QTemporaryDir dir;
    devices::MediaModule module;
    devices::AudioDevice audio{module, {.silent = true}};
    platform::RealClock clock;
    platform::FileResolver files;
    base::EventLog log;
};

} // namespace

TEST_F(StreamedSound, ALongWaveIsDecodedAsItPlaysNotWhole)
{
    // Ten minutes at 4 kHz: 4.8 MB of file, 106 MB once converted whole.
    const QByteArray wave = demo::WavFile(std::vector<qint16>(4000 * 600, 1000), 4000);
    devices::AudioDevice::SoundPtr sound;
    devices::AudioDevice::Voice voice;
    const double grown = growthMb([&] {
        sound = audio.decode(wave);
        voice = audio.play(sound, false);
        QTest::qWait(300);
    });
    EXPECT_LT(grown, 4);
    EXPECT_EQ(devices::AudioDevice::lengthMs(sound), 600000);
    EXPECT_TRUE(audio.sounding(voice));
    audio.halt(voice);
    EXPECT_FALSE(audio.sounding(voice));
}

TEST_F(StreamedSound, AVideoOpensWithoutDecodingItsSoundTrack)
{
    const QString video = make(QStringLiteral("long.avi"),
                               {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("color=c=red:s=16x16:d=600:r=1"),
                                QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                QStringLiteral("sine=frequency=440:duration=600:sample_rate=8000"), QStringLiteral("-c:v"),
                                QStringLiteral("mjpeg"), QStringLiteral("-c:a"), QStringLiteral("pcm_s16le")});
    devices::MediaCommands commands(clock, audio, files, log);
    // Decoded whole, the sound track of ten minutes took 106 MB, and a copy
    // as a wave as much again.
    const double grown = growthMb([&] {
        ASSERT_EQ(commands.send(QStringLiteral("open %1 alias scene type avivideo").arg(video)), 0);
        ASSERT_EQ(commands.send(QStringLiteral("play scene from 0")), 0);
        QTest::qWait(300);
    });
    EXPECT_LT(grown, 8);
    QString length;
    commands.send(QStringLiteral("status scene length"), &length);
    EXPECT_EQ(length, QStringLiteral("600000"));
    EXPECT_EQ(commands.send(QStringLiteral("close scene")), 0);
}

TEST_F(StreamedSound, AnMp3PieceIsMeasuredWithoutDecodingIt)
{
    // Ten minutes at 8 kbit/s: 600 KB of file, 106 MB decoded whole.
    const QString piece = make(QStringLiteral("long.mp3"),
                               {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                QStringLiteral("sine=frequency=300:sample_rate=8000:duration=600"), QStringLiteral("-c:a"),
                                QStringLiteral("libmp3lame"), QStringLiteral("-b:a"), QStringLiteral("8k")});
    devices::Mp3Library library(clock, audio, files, log);
    double lengthMs = 0;
    const double grown = growthMb([&] { ASSERT_TRUE(library.gettime(piece, lengthMs)); });
    EXPECT_LT(grown, 4);
    EXPECT_EQ(lengthMs, 600000);
}

TEST_F(StreamedSound, AnMp3WithoutAFrameCountLastsAsLongAsItsFrames)
{
    // Ten seconds of silence, then ten of noise, at a varying bit rate and
    // without the header that counts the frames: a length guessed from the
    // first frame's rate would be nearly twice the real one.
    const QString piece = make(QStringLiteral("varying.mp3"),
                               {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("anullsrc=r=44100:cl=mono:d=10"),
                                QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("anoisesrc=d=10:a=0.5:r=44100"),
                                QStringLiteral("-filter_complex"), QStringLiteral("[0][1]concat=n=2:v=0:a=1"), QStringLiteral("-c:a"),
                                QStringLiteral("libmp3lame"), QStringLiteral("-q:a"), QStringLiteral("2"), QStringLiteral("-write_xing"),
                                QStringLiteral("0")});
    const devices::AudioDevice::SoundPtr sound = audio.stream(devices::AudioSource{piece, {}});
    EXPECT_NEAR(devices::AudioDevice::lengthMs(sound), 20000, 100);
    // And the decoder gives that much sound.
    backend::AudioDecoder decoder(devices::AudioSource{piece, {}});
    std::vector<char> buffer(1 << 16);
    qint64 bytes = 0;
    for (qsizetype got; (got = decoder.read(buffer.data(), qsizetype(buffer.size()))) > 0;)
        bytes += got;
    EXPECT_NEAR(double(bytes) / (backend::AudioDecoder::BytesPerFrame * backend::AudioDecoder::OutputRate), 20.0, 0.1);
}

TEST_F(StreamedSound, Mp3PiecesOfEveryMpegVersionAndWithTagsKeepTheirLengths)
{
    const QString cover = make(QStringLiteral("cover.png"), {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                                             QStringLiteral("color=c=blue:s=300x300"), QStringLiteral("-frames:v"),
                                                             QStringLiteral("1")});
    const auto sine = [](int rate) {
        return QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QStringLiteral("sine=frequency=300:sample_rate=%1:duration=10").arg(rate)};
    };
    const QStringList lame{QStringLiteral("-c:a"), QStringLiteral("libmp3lame"), QStringLiteral("-b:a"), QStringLiteral("32k")};
    const QStringList pieces{
        // MPEG-2 and MPEG-2.5 layer III: other frame sizes and rates.
        make(QStringLiteral("mpeg2.mp3"), sine(22050) + lame),
        make(QStringLiteral("mpeg25.mp3"), sine(11025) + lame),
        // A cover picture in an ID3v2 tag before the frames, an ID3v1 tag after.
        make(QStringLiteral("tagged.mp3"), sine(44100) + QStringList{QStringLiteral("-i"), cover, QStringLiteral("-map"), QStringLiteral("0:a"),
                                                                     QStringLiteral("-map"), QStringLiteral("1:v"), QStringLiteral("-c:v"),
                                                                     QStringLiteral("copy"), QStringLiteral("-id3v2_version"), QStringLiteral("3"),
                                                                     QStringLiteral("-write_id3v1"), QStringLiteral("1"),
                                                                     QStringLiteral("-metadata"), QStringLiteral("title=Harbour")}
            + lame),
    };
    devices::Mp3Library library(clock, audio, files, log);
    for (const QString& piece : pieces) {
        double lengthMs = 0;
        ASSERT_TRUE(library.gettime(piece, lengthMs)) << piece.toStdString();
        EXPECT_NEAR(lengthMs, 10000, 30) << piece.toStdString();
    }
}

TEST_F(StreamedSound, FilesWithoutPlayableSoundAreRefusedWhenRead)
{
    const auto refusal = [&](const devices::AudioSource& source) {
        try {
            audio.stream(source);
        } catch (const base::Failure& failure) {
            return QString::fromUtf8(failure.what());
        }
        return QString();
    };
    EXPECT_EQ(refusal({{}, QByteArray("no sound at all, only words")}), QStringLiteral("Cannot decode the sound: no format FFmpeg knows"));
    const QString silentFilm = make(QStringLiteral("silent.avi"), {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                                                   QStringLiteral("color=c=red:s=16x16:d=1"), QStringLiteral("-c:v"),
                                                                   QStringLiteral("mjpeg")});
    EXPECT_EQ(refusal({silentFilm, {}}), QStringLiteral("Cannot decode the sound: no sound FFmpeg can decode"));
    // A track at 2 Hz would be resampled 22,050 times over.
    const QString slow = make(QStringLiteral("slow.avi"),
                              {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("color=c=red:s=16x16:d=1"),
                               QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("anullsrc=r=8000:cl=mono:d=1"),
                               QStringLiteral("-c:v"), QStringLiteral("mjpeg"), QStringLiteral("-c:a"), QStringLiteral("pcm_u8"),
                               QStringLiteral("-ar"), QStringLiteral("2")});
    EXPECT_EQ(refusal({slow, {}}), QStringLiteral("Cannot decode the sound: a sampling rate of 2 Hz"));
}
