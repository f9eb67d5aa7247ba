#include "base/event_log.h"
#include "base/failure.h"
#include "demo/authoring.h"
#include "devices/audio_device.h"
#include "devices/media_commands.h"
#include "devices/media_module.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"
#include "support/ffmpeg.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
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

// How loud what the disk driver wrote is between two times from its first
// sounding sample, in seconds.
double loudnessBetween(const QString& file, double from, double to)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = f.readAll();
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    const qsizetype frames = bytes.size() / 4;
    qsizetype first = 0;
    while (first < frames && std::abs(samples[first * 2]) <= 300)
        ++first;
    const qsizetype begin = std::min(frames, first + qsizetype(from * 44100));
    const qsizetype end = std::min(frames, first + qsizetype(to * 44100));
    double sum = 0;
    for (qsizetype i = begin; i < end; ++i)
        sum += double(samples[i * 2]) * samples[i * 2];
    return end > begin ? std::sqrt(sum / double(end - begin)) : 0;
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

    // The player's media commands on an output of their own, written out
    // when they go.
    struct Media {
        explicit Media(platform::Clock& clock) : commands(clock, audio, files, log) {}
        devices::MediaModule module;
        devices::AudioDevice audio{module, {}};
        base::EventLog log;
        platform::FileResolver files;
        devices::MediaCommands commands;
    };

    QTemporaryDir dir;
    platform::RealClock clock;
};

} // namespace

TEST_F(DiskOutput, AWaveIsHeardForItsLength)
{
    {
        devices::MediaModule module;
        devices::AudioDevice audio(module, {});
        ASSERT_TRUE(audio.audible());
        // The device keeps the sound while it plays.
        audio.play(audio.decode(demo::WavFile(demo::Tone(600))), false);
        clock.sleep(1100);
    }
    const Written w = analyse(out());
    EXPECT_GT(w.loudness, 100);
    EXPECT_NEAR(w.soundingSeconds, 0.6, 0.06);
}

TEST_F(DiskOutput, TheVolumesActAtOnceOnTheSoundsOfTheirKind)
{
    {
        devices::MediaModule module;
        devices::AudioDevice audio(module, {});
        audio.play(audio.decode(demo::WavFile(demo::Tone(1800))), false);
        clock.sleep(600);
        devices::Volumes volumes;
        volumes.sounds = 50;
        volumes.master = 50;
        audio.setVolumes(volumes);
        clock.sleep(600);
        // The music's volume is not the sounds'.
        volumes.music = 0;
        audio.setVolumes(volumes);
        clock.sleep(300);
        volumes.mute = true;
        audio.setVolumes(volumes);
        clock.sleep(600);
    }
    const double full = loudnessBetween(out(), 0.1, 0.5);
    ASSERT_GT(full, 100);
    EXPECT_NEAR(loudnessBetween(out(), 0.7, 1.1) / full, 0.25, 0.03);
    EXPECT_NEAR(loudnessBetween(out(), 1.25, 1.45) / full, 0.25, 0.03);
    EXPECT_LT(loudnessBetween(out(), 1.6, 1.75) / full, 0.01);
}

TEST_F(DiskOutput, AStreamedPieceIsAsLoudAsTheMusicVolumeFromItsFirstSample)
{
    {
        devices::MediaModule module;
        devices::AudioDevice audio(module, {});
        devices::Volumes volumes;
        volumes.music = 50;
        volumes.sounds = 0;
        audio.setVolumes(volumes);
        audio.play(audio.stream(devices::AudioSource{{}, demo::WavFile(demo::Tone(1200))}), false, 0, devices::Mix::Music);
        clock.sleep(600);
        volumes.music = 100;
        audio.setVolumes(volumes);
        clock.sleep(900);
    }
    const double half = loudnessBetween(out(), 0.1, 0.5);
    ASSERT_GT(half, 50);
    EXPECT_NEAR(loudnessBetween(out(), 0.75, 1.1) / half, 2.0, 0.2);
}

// Wave files whose data the mixer's reader does not know, as games of the
// era shipped them: FFmpeg decodes them.
class CompressedWave : public DiskOutput, public ::testing::WithParamInterface<const char*> {};

TEST_P(CompressedWave, IsHeardForItsLength)
{
    const QStringList encoding = QString::fromLatin1(GetParam()) == QLatin1String("gsm")
        ? QStringList{QStringLiteral("-c:a"), QStringLiteral("libgsm_ms")}
        : QStringList{QStringLiteral("-c:a"), QStringLiteral("libmp3lame"), QStringLiteral("-b:a"), QStringLiteral("32k")};
    const QByteArray wave = testsupport::ToneByFfmpeg(dir.filePath(QStringLiteral("tone.wav")), GetParam() == QLatin1String("gsm") ? 8000 : 22050, 1, 0.6, encoding);
    ASSERT_FALSE(wave.isEmpty());
    {
        devices::MediaModule module;
        devices::AudioDevice audio(module, {});
        const auto sound = audio.decode(wave);
        EXPECT_NEAR(devices::AudioDevice::lengthMs(sound), 600, 60);
        audio.play(sound, false);
        clock.sleep(1100);
    }
    const Written w = analyse(out());
    EXPECT_GT(w.loudness, 100);
    EXPECT_NEAR(w.soundingSeconds, 0.6, 0.08);
}

INSTANTIATE_TEST_SUITE_P(GsmAndMp3, CompressedWave, ::testing::Values("gsm", "mp3"));

TEST_F(DiskOutput, AStreamedSoundIsHeardEachTimeItRepeats)
{
    {
        devices::MediaModule module;
        devices::AudioDevice audio(module, {});
        const auto sound = audio.stream(devices::AudioSource{{}, demo::WavFile(demo::Tone(300))});
        audio.play(sound, false, 2);
        clock.sleep(1400);
    }
    EXPECT_NEAR(analyse(out()).soundingSeconds, 0.9, 0.08);
}

TEST_F(DiskOutput, AStreamedSoundHeldPausedGoesOnFromWhereItWas)
{
    {
        devices::MediaModule module;
        devices::AudioDevice audio(module, {});
        const auto voice = audio.play(audio.stream(devices::AudioSource{{}, demo::WavFile(demo::Tone(600))}), false);
        clock.sleep(200);
        audio.pause(voice);
        clock.sleep(500);
        EXPECT_TRUE(audio.sounding(voice));
        audio.resume(voice);
        clock.sleep(900);
    }
    // The 600 ms of tone around the 500 ms held.
    EXPECT_NEAR(analyse(out()).soundingSeconds, 1.1, 0.1);
}

TEST_F(DiskOutput, ADeviceHeldForThePlayersPauseIsSilentThenGoesOn)
{
    const QString wave = dir.filePath(QStringLiteral("tone.wav"));
    QFile file(wave);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(demo::WavFile(demo::Tone(600)));
    file.close();
    {
        Media media(clock);
        devices::MediaCommands& commands = media.commands;
        ASSERT_EQ(commands.send(QStringLiteral("open %1 alias tone type waveaudio").arg(wave)), 0);
        ASSERT_EQ(commands.send(QStringLiteral("play tone from 0")), 0);
        clock.sleep(200);
        clock.hold(true);
        commands.hold(true);
        // The held clock's own sleeps would wait for ever: the wall's.
        QTest::qWait(500);
        clock.hold(false);
        commands.hold(false);
        clock.sleep(900);
    }
    // The 600 ms of tone around the 500 ms held.
    EXPECT_NEAR(analyse(out()).soundingSeconds, 1.1, 0.1);
}

TEST_F(DiskOutput, AMidiPieceIsHeardUntilTheEndOfItsTempoMap)
{
    QFile tune(dir.filePath(QStringLiteral("tune.mid")));
    ASSERT_TRUE(tune.open(QIODevice::WriteOnly));
    // Four beats at 120 a minute: two seconds.
    tune.write(demo::MidiFile({60, 64, 67, 72}));
    tune.close();
    {
        Media media(clock);
        devices::MediaCommands& commands = media.commands;
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

TEST_F(DiskOutput, AMidiPieceWithTheCablesClockBytesInItIsHeard)
{
    // Written byte by byte as a recording program wrote them: an organ
    // note of four beats at 120 a minute, the clock and time code between.
    QFile tune(dir.filePath(QStringLiteral("clocked.mid")));
    ASSERT_TRUE(tune.open(QIODevice::WriteOnly));
    tune.write(QByteArray::fromHex("4d546864000000060000000101e0"
                                   "4d54726b00000016"
                                   "00c013" "00903c64" "8740f8" "00f110" "8740803c00" "00ff2f00"));
    tune.close();
    {
        Media media(clock);
        devices::MediaCommands& commands = media.commands;
        ASSERT_EQ(commands.send(QStringLiteral("open %1 alias tune type sequencer").arg(tune.fileName())), 0);
        QString length;
        commands.send(QStringLiteral("status tune length"), &length);
        EXPECT_EQ(length, QStringLiteral("2000"));
        ASSERT_EQ(commands.send(QStringLiteral("play tune from 0")), 0);
        clock.sleep(2600);
    }
    EXPECT_NEAR(analyse(out()).soundingSeconds, 2.0, 0.3);
}

TEST_F(DiskOutput, AMidiPieceLoadedAgainIsTheSamePieceAndPlaysWholeFromItsStart)
{
    {
        devices::MediaModule module;
        devices::AudioDevice audio(module, {});
        const QByteArray tune = demo::MidiFile({60, 64, 67, 72});
        const devices::AudioDevice::MusicPtr first = audio.loadMusic(tune);
        audio.haltMusic(audio.playMusic(first));
        // A second later the frame is opened again: the piece starts over.
        const devices::AudioDevice::MusicVoice voice = audio.playMusic(first);
        clock.sleep(1000);
        audio.haltMusic(voice);
        const devices::AudioDevice::MusicPtr again = audio.loadMusic(tune);
        EXPECT_EQ(again, first);
        const devices::AudioDevice::MusicVoice second = audio.playMusic(again);
        clock.sleep(1800);
        audio.haltMusic(second);
    }
    // A second of the first play, then 1.8 s of the second, which would
    // have run out before if it had gone on from where the first stopped.
    EXPECT_NEAR(analyse(out()).soundingSeconds, 2.8, 0.15);
}

TEST_F(DiskOutput, AMutedPlayerWritesNothingAndSaysNothing)
{
    QStringList notices;
    {
        devices::MediaModule module;
        devices::AudioDevice audio(module, {.muted = true, .notice = [&](const QString& text) { notices << text; }});
        EXPECT_TRUE(audio.open());
        EXPECT_FALSE(audio.audible());
        // Sounds still decode and play, so their lengths and ends stay.
        const auto sound = audio.decode(demo::WavFile(demo::Tone(300)));
        EXPECT_NEAR(devices::AudioDevice::lengthMs(sound), 300, 5);
        audio.play(sound, false);
        clock.sleep(400);
    }
    EXPECT_FALSE(QFile::exists(out()));
    EXPECT_TRUE(notices.isEmpty());
}

// Two devices of one kind sound side by side: closing the one that never
// played leaves the other's sound alone.
class TwoDevices : public DiskOutput {
protected:
    // Opens the file twice as devices of the type, plays the first, closes
    // the second and listens for ms: how long the output sounded.
    double soundingAfterClosingTheOther(const QString& file, const char* type, int ms)
    {
        {
            Media media(clock);
            devices::MediaCommands& commands = media.commands;
            for (const char* alias : {"one", "two"})
                EXPECT_EQ(commands.send(QStringLiteral("open %1 alias %2 type %3").arg(file, QLatin1String(alias), QLatin1String(type))), 0);
            EXPECT_EQ(commands.send(QStringLiteral("play one from 0")), 0);
            EXPECT_EQ(commands.send(QStringLiteral("close two")), 0);
            clock.sleep(ms);
        }
        return analyse(out()).soundingSeconds;
    }
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
};

TEST_F(TwoDevices, ClosingAWaveDeviceLeavesAnotherWaveDeviceSounding)
{
    const QString wave = write(QStringLiteral("tone.wav"), demo::WavFile(demo::Tone(600)));
    EXPECT_NEAR(soundingAfterClosingTheOther(wave, "waveaudio", 1100), 0.6, 0.06);
}

TEST_F(TwoDevices, ClosingASequencerLeavesAnotherSequencerSounding)
{
    const QString tune = write(QStringLiteral("tune.mid"), demo::MidiFile({60, 64, 67, 72}));
    EXPECT_NEAR(soundingAfterClosingTheOther(tune, "sequencer", 2600), 2.0, 0.2);
}

TEST_F(TwoDevices, ClosingAVideoLeavesAnotherVideosSoundPlaying)
{
    // A second of colour with a second of tone, as ffmpeg writes an AVI.
    const QString video = dir.filePath(QStringLiteral("scene.avi"));
    QString errors;
    ASSERT_TRUE(testsupport::RunFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("color=c=red:s=32x32:d=1"),
                                        QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("sine=frequency=440:duration=1"),
                                        QStringLiteral("-c:v"), QStringLiteral("mjpeg"), QStringLiteral("-c:a"), QStringLiteral("pcm_s16le"), video},
                                       &errors))
        << errors.toStdString();
    EXPECT_NEAR(soundingAfterClosingTheOther(video, "avivideo", 1500), 1.0, 0.1);
}

TEST(AudioVoices, AStaleVoiceNeverTouchesTheSoundThatTookItsChannel)
{
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.silent = true});
    const devices::AudioDevice::SoundPtr tone = audio.decode(demo::WavFile(demo::Tone(3000)));
    const devices::AudioDevice::Voice first = audio.play(tone, false);
    audio.halt(first);
    const devices::AudioDevice::Voice second = audio.play(tone, false);
    EXPECT_EQ(second.channel, first.channel);
    audio.pause(first);
    audio.halt(first);
    EXPECT_TRUE(audio.sounding(second));
    // Sounds at once take channels of their own.
    const devices::AudioDevice::Voice third = audio.play(tone, true);
    EXPECT_NE(third.channel, second.channel);
    EXPECT_TRUE(audio.sounding(third));
}

TEST(AudioVoices, ASoundToldToRepeatIsHeardThatManyTimesMore)
{
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.silent = true});
    // 200 ms played three times: still heard well after the first time ends.
    const devices::AudioDevice::Voice voice = audio.play(audio.decode(demo::WavFile(demo::Tone(200))), false, 2);
    QTest::qWait(400);
    EXPECT_TRUE(audio.sounding(voice));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !audio.sounding(voice); }, 5000));
}

TEST(AudioVoices, AStaleMusicVoiceNeverStopsThePieceThatReplacedIt)
{
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.silent = true});
    const devices::AudioDevice::MusicPtr piece = audio.loadMusic(demo::MidiFile({60, 64, 67, 72}));
    const devices::AudioDevice::MusicVoice first = audio.playMusic(piece);
    const devices::AudioDevice::MusicVoice second = audio.playMusic(piece);
    audio.pauseMusic(first);
    audio.haltMusic(first);
    EXPECT_TRUE(audio.musicSounding(second));
    audio.haltMusic(second);
    EXPECT_FALSE(audio.musicSounding(second));
}

TEST(AudioVoices, WavesAtRatesNoSoundCardPlaysAreUndecodable)
{
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.silent = true});
    // Three samples at 1 Hz would be three seconds at the output's rate.
    for (const int rate : {1, 3999, 192001}) {
        try {
            audio.decode(demo::WavFile({0, 1000, 0}, rate));
            ADD_FAILURE() << "decoded at " << rate << " Hz";
        } catch (const base::Failure& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("Cannot decode the sound: a sampling rate of %1 Hz").arg(rate));
        }
    }
    for (const int rate : {4000, 192000})
        EXPECT_NO_THROW(audio.decode(demo::WavFile({0, 1000, 0}, rate))) << rate;
}

TEST(AudioVoices, ASoundOfNoLengthIsNotPlayed)
{
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.silent = true});
    const devices::AudioDevice::SoundPtr nothing = audio.decode(demo::WavFile({}));
    EXPECT_EQ(devices::AudioDevice::lengthMs(nothing), 0);
    // Looped, it would hold the mixer in one buffer for ever.
    EXPECT_FALSE(audio.sounding(audio.play(nothing, true)));
    const devices::AudioDevice::SoundPtr tone = audio.decode(demo::WavFile(demo::Tone(500)));
    EXPECT_TRUE(audio.sounding(audio.play(tone, false)));
}

// The program ends itself on Ctrl+C and SIGTERM: the sound library must not
// take them over when the output opens.
TEST(AudioSignals, OpeningTheOutputLeavesInterruptAndTerminateAlone)
{
    struct sigaction before[2] = {};
    ASSERT_EQ(::sigaction(SIGINT, nullptr, &before[0]), 0);
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &before[1]), 0);
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.silent = true});
    ASSERT_TRUE(audio.open());
    struct sigaction after[2] = {};
    ASSERT_EQ(::sigaction(SIGINT, nullptr, &after[0]), 0);
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &after[1]), 0);
    EXPECT_EQ(after[0].sa_handler, before[0].sa_handler);
    EXPECT_EQ(after[1].sa_handler, before[1].sa_handler);
}
