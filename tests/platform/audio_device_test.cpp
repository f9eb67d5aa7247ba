#include "demo/authoring.h"
#include "platform/audio_device.h"
#include "platform/clock.h"
#include "platform/event_log.h"
#include "platform/file_resolver.h"
#include "platform/media_commands.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// What SDL's disk driver wrote: 16-bit stereo at 44,100 frames a second.
struct Written {
    double soundingSeconds = 0;
    double loudness = 0;
};

Written analyse(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    const qsizetype frames = bytes.size() / 4;
    qsizetype first = -1, last = -1;
    double sum = 0;
    for (qsizetype i = 0; i < frames; ++i) {
        const int v = std::abs(samples[i * 2]);
        sum += double(v) * v;
        if (v > 300) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    Written w;
    if (first >= 0)
        w.soundingSeconds = double(last - first) / 44100.0;
    w.loudness = frames ? std::sqrt(sum / double(frames)) : 0;
    return w;
}

// Sound written at the pace of real time into a file instead of a speaker.
class DiskOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", dir.filePath(QStringLiteral("out.raw")).toLocal8Bit());
        // One buffer of 1024 frames each 23 ms: real time.
        qputenv("SDL_DISKAUDIODELAY", "23");
    }
    void TearDown() override
    {
        qunsetenv("SDL_AUDIODRIVER");
        qunsetenv("SDL_DISKAUDIOFILE");
        qunsetenv("SDL_DISKAUDIODELAY");
    }
    QString out() const { return dir.filePath(QStringLiteral("out.raw")); }

    QTemporaryDir dir;
    platform::RealClock clock;
};

} // namespace

TEST_F(DiskOutput, AWaveIsHeardForItsLength)
{
    {
        platform::AudioDevice audio({});
        ASSERT_TRUE(audio.audible());
        // The device keeps the sound while it plays.
        audio.play(0, audio.decode(demo::WavFile(demo::Tone(600))), false);
        clock.sleep(1100);
    }
    const Written w = analyse(out());
    EXPECT_GT(w.loudness, 100);
    EXPECT_NEAR(w.soundingSeconds, 0.6, 0.06);
}

TEST_F(DiskOutput, AMidiPieceIsHeardUntilTheEndOfItsTempoMap)
{
    QFile tune(dir.filePath(QStringLiteral("tune.mid")));
    ASSERT_TRUE(tune.open(QIODevice::WriteOnly));
    // Four beats at 120 a minute: two seconds.
    tune.write(demo::MidiFile({60, 64, 67, 72}));
    tune.close();
    {
        platform::AudioDevice audio({});
        platform::EventLog log;
        platform::FileResolver files;
        platform::MediaCommands commands(clock, audio, files, log);
        ASSERT_EQ(commands.send(QStringLiteral("open %1 type sequencer").arg(tune.fileName())), 0);
        ASSERT_EQ(commands.send(QStringLiteral("play %1 from 0").arg(tune.fileName())), 0);
        clock.sleep(2600);
        QString mode;
        commands.send(QStringLiteral("status %1 mode").arg(tune.fileName()), &mode);
        EXPECT_EQ(mode, QStringLiteral("stopped"));
    }
    const Written w = analyse(out());
    EXPECT_GT(w.loudness, 50);
    EXPECT_NEAR(w.soundingSeconds, 2.0, 0.2);
}

TEST_F(DiskOutput, AMutedPlayerWritesNothingAndSaysNothing)
{
    QStringList notices;
    {
        platform::AudioDevice audio({.muted = true, .notice = [&](const QString& text) { notices << text; }});
        EXPECT_TRUE(audio.open());
        EXPECT_FALSE(audio.audible());
        // Sounds still decode and play, so their lengths and ends stay.
        const auto sound = audio.decode(demo::WavFile(demo::Tone(300)));
        EXPECT_NEAR(platform::AudioDevice::lengthMs(sound), 300, 5);
        audio.play(0, sound, false);
        clock.sleep(400);
    }
    EXPECT_FALSE(QFile::exists(out()));
    EXPECT_TRUE(notices.isEmpty());
}
