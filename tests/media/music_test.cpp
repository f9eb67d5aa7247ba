#include "base/byte_writer.h"
#include "base/event_log.h"
#include "demo/authoring.h"
#include "devices/audio_device.h"
#include "devices/media_commands.h"
#include "devices/media_module.h"
#include "devices/mp3_library.h"
#include "media/media.h"
#include "media/mp3_music.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"
#include "support/ffmpeg.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using testsupport::GameFolder;

// MIDI and MP3 music of frames and actions.
class Music : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({});
        folder.frame(QStringLiteral("Start"));
        // Two beats at 120 a minute: one second by its tempo map.
        folder.writeBytes(QStringLiteral("Frames/tune.mid"), demo::MidiFile({60, 64}));
    }
    engine::Game& start(const QString& soundFont = QString())
    {
        run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path(), QSize(1024, 768));
        options.soundFont = soundFont;
        rt = std::make_unique<app::Runtime>(options);
        rt->frmWelcome().ClickButton(0);
        rt->log.clear();
        return rt->game();
    }
    QString tune() const { return rt->project.FramesPath + QStringLiteral("tune.mid"); }
    int plays() const { return plays(tune()); }
    int plays(const QString& piece) const
    {
        int n = 0;
        for (const QJsonObject& e : rt->log.ofType(QStringLiteral("media")))
            n += e.value(QStringLiteral("call")).toString() == QStringLiteral("play %1 from 0 notify").arg(piece);
        return n;
    }
    void wait(int ms) { rt->clock().sleep(ms); }
    // An MP3 of silence made by Debian's ffmpeg.
    bool mp3(const QString& name, int seconds)
    {
        return testsupport::RunFfmpeg({QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("anullsrc=r=8000:cl=mono"),
                                        QStringLiteral("-t"), QString::number(seconds), QStringLiteral("-b:a"), QStringLiteral("8k"), folder.file(name)});
    }

    GameFolder folder;
    std::unique_ptr<app::Runtime> rt;
};

TEST_F(Music, ALoopingPieceStartsAgainAtTheEndOfItsTempoMap)
{
    start();
    media::Media& m = rt->media();
    m.PlayMIDImusic(tune(), true);
    EXPECT_EQ(m.MidiStatus(), QStringLiteral("playing"));
    EXPECT_EQ(plays(), 1);
    wait(999);
    EXPECT_EQ(plays(), 1);
    wait(1);
    EXPECT_EQ(plays(), 2);
    wait(1000);
    EXPECT_EQ(plays(), 3);
    EXPECT_EQ(m.MidiStatus(), QStringLiteral("playing"));
}

// Every note at tick 0: a chord struck and released at once, then the end of
// the track, written byte by byte.
QByteArray ChordAtTickZero()
{
    const QByteArray track = QByteArray::fromHex("00903c64" "00904064" "00803c00" "00804000" "00ff2f00");
    base::ByteWriter file;
    file.raw(QByteArray::fromHex("4d546864" "00000006" "0000" "0001" "01e0" "4d54726b")).u32be(track.size()).raw(track);
    return file.bytes();
}

TEST_F(Music, APieceOfNoLengthEndsInsteadOfRepeating)
{
    // No notes at all; notes at a tempo of 0; every note at tick 0.
    folder.writeBytes(QStringLiteral("Frames/empty.mid"), demo::MidiFile({}));
    folder.writeBytes(QStringLiteral("Frames/still.mid"), demo::MidiFile({60, 64}, 0));
    folder.writeBytes(QStringLiteral("Frames/chord.mid"), ChordAtTickZero());
    start();
    media::Media& m = rt->media();
    const qint64 started = rt->clock().elapsedMs();
    for (const char* name : {"empty.mid", "still.mid", "chord.mid"}) {
        const QString piece = rt->project.FramesPath + QLatin1String(name);
        m.PlayMIDImusic(piece, true);
        wait(1000);
        EXPECT_EQ(m.MidiStatus(), QString()) << name;
        EXPECT_EQ(plays(piece), 1) << name;
        m.StopMIDIMusic();
    }
    // Time went on: the run was never held at one moment.
    EXPECT_EQ(rt->clock().elapsedMs() - started, 3000);
}

TEST_F(Music, APieceThatDoesNotLoopClosesAtItsEnd)
{
    start();
    media::Media& m = rt->media();
    m.PlayMIDImusic(tune(), false);
    wait(1000);
    EXPECT_EQ(m.MidiStatus(), QString());
    EXPECT_EQ(plays(), 1);
}

TEST_F(Music, AStopBeforeAnyMusicAndANoticeAfterTheStopDoNothing)
{
    engine::Game& game = start();
    media::Media& m = rt->media();
    m.StopMIDIMusic();
    EXPECT_TRUE(rt->log.ofType(QStringLiteral("msgbox")).empty());
    m.PlayMIDImusic(tune(), true);
    m.StopMIDIMusic();
    // A notice that was already on its way when the music stopped.
    QCoreApplication::postEvent(&game.window(), new devices::MediaCommands::Notice(tune()));
    wait(5000);
    EXPECT_EQ(plays(), 1);
    EXPECT_EQ(m.MidiStatus(), QString());
}

TEST_F(Music, WithoutASoundfontThePieceIsSilentButTimedAndToldOnce)
{
    start(QStringLiteral("/nonexistent/none.sf2"));
    media::Media& m = rt->media();
    m.PlayMIDImusic(tune(), false);
    m.StopMIDIMusic();
    m.PlayMIDImusic(tune(), false);
    EXPECT_EQ(m.MidiStatus(), QStringLiteral("playing"));
    int soundfont = 0;
    for (const QJsonObject& n : rt->log.ofType(QStringLiteral("notice")))
        soundfont += n.value(QStringLiteral("text")).toString().contains(QStringLiteral("timgm6mb-soundfont"));
    EXPECT_EQ(soundfont, 1);
    wait(1000);
    EXPECT_EQ(m.MidiStatus(), QString());
}

TEST_F(Music, Mp3MusicCountsAsPlayingUntilFiveSecondsAfterItsLength)
{
    ASSERT_TRUE(mp3(QStringLiteral("Frames/long.mp3"), 180));
    engine::Game& game = start();
    media::Media& m = rt->media();
    EXPECT_FALSE(m.IsMP3Playing());
    m.StopMP3();
    EXPECT_EQ(m.MP3Duration(), 0);
    game.ScheduleMP3Music(QStringLiteral("long.mp3"));
    EXPECT_EQ(m.MP3Duration(), 60);
    EXPECT_TRUE(m.IsMP3Playing());
    wait(1000);
    EXPECT_FALSE(game.MP3Timer.enabled());
    EXPECT_EQ(m.MP3Duration(), 180);
    const QDateTime started = m.MP3StartTime();
    EXPECT_EQ(started, rt->clock().now());
    wait(185000);
    EXPECT_TRUE(m.IsMP3Playing());
    wait(1000);
    EXPECT_FALSE(m.IsMP3Playing());
    // Channel files stay silent while the MP3 music counts as playing.
    EXPECT_EQ(m.MP3Duration(), 180);
}

// MP3 music on a real clock: the worker runs while this thread goes on.
struct Mp3OnARealClock {
    platform::RealClock clock;
    base::EventLog log;
    platform::FileResolver files;
    devices::MediaModule module;
    devices::AudioDevice audio{module, devices::AudioDevice::Options{.silent = true}};
    devices::Mp3Library library{clock, audio, files, log};
    media::Mp3Music music{clock, library};
};

TEST_F(Music, AStopWhileTheWorkerMeasuresThePieceIsNotUndone)
{
    ASSERT_TRUE(mp3(QStringLiteral("Frames/race.mp3"), 600));
    Mp3OnARealClock real;
    media::Mp3Music& music = real.music;
    platform::RealClock& clock = real.clock;
    music.setMP3Duration(60);
    music.StartMP3Thread(folder.file(QStringLiteral("Frames/race.mp3")));
    // Decoding ten minutes takes the worker a while: the stop lands first.
    music.StopMP3();
    clock.sleep(2000);
    EXPECT_EQ(music.MP3Duration(), 0);
    EXPECT_FALSE(music.IsMP3Playing());
}

TEST_F(Music, AStartOverAPlayingMp3PieceStopsItFirst)
{
    ASSERT_TRUE(mp3(QStringLiteral("Frames/first.mp3"), 10));
    ASSERT_TRUE(mp3(QStringLiteral("Frames/second.mp3"), 20));
    start();
    media::Media& m = rt->media();
    m.MP3Timer_Timer(rt->project.FramesPath + QStringLiteral("first.mp3"));
    EXPECT_EQ(m.MP3Duration(), 10);
    wait(2000);
    // Nothing stopped the first piece: the start does.
    m.MP3Timer_Timer(rt->project.FramesPath + QStringLiteral("second.mp3"));
    EXPECT_EQ(m.MP3Duration(), 20);
    EXPECT_EQ(m.MP3StartTime(), rt->clock().now());
    wait(0);
    std::vector<QString> calls;
    for (const QJsonObject& e : rt->log.ofType(QStringLiteral("media"))) {
        if (e.value(QStringLiteral("layer")).toString() == QStringLiteral("mp3"))
            calls.push_back(e.value(QStringLiteral("call")).toString().section(u' ', 0, 0));
    }
    EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("mp3gettime"), QStringLiteral("mp3play"), QStringLiteral("mp3stop"),
                                           QStringLiteral("mp3gettime"), QStringLiteral("mp3play")}));
    // Twenty seconds and the five that music counts as playing after its end.
    wait(25000);
    EXPECT_TRUE(m.IsMP3Playing());
    wait(1000);
    EXPECT_FALSE(m.IsMP3Playing());
}

// The worker looks its piece up while the window's thread forgets and reads
// listings (as the save and load dialogs do); the thread checker watches.
TEST_F(Music, TheMp3WorkerFindsItsPieceWhileTheWindowThreadForgetsListings)
{
    ASSERT_TRUE(mp3(QStringLiteral("Frames/Race.MP3"), 120));
    Mp3OnARealClock real;
    media::Mp3Music& music = real.music;
    platform::FileResolver& files = real.files;
    // Named in other letter cases: only the folders' listings find it.
    music.StartMP3Thread(folder.path() + QStringLiteral("/frames/race.mp3"));
    for (int i = 0; i < 2000 && music.MP3Duration() != 120; ++i) {
        files.forgetListings();
        EXPECT_EQ(files.listFiles(folder.path() + QStringLiteral("/FRAMES"), QStringLiteral(".mp3")), QStringList{QStringLiteral("Race.MP3")});
        real.clock.sleep(10);
    }
    EXPECT_EQ(music.MP3Duration(), 120);
    music.StopMP3();
}

TEST_F(Music, AFileNameWithBlanksAndAccentsStillOpens)
{
    folder.writeBytes(QStringLiteral("Frames/night tune \u00e9t\u00e9.mid"), demo::MidiFile({60}));
    start();
    media::Media& m = rt->media();
    m.PlayMIDImusic(rt->project.FramesPath + QStringLiteral("night tune \u00e9t\u00e9.mid"), false);
    EXPECT_EQ(m.MidiStatus(), QStringLiteral("playing"));
    // The device is named by a form of the name that commands can carry.
    EXPECT_FALSE(m.MidiFileName().contains(u' '));
    for (const QChar c : m.MidiFileName())
        EXPECT_LT(c.unicode(), 128);
    wait(500);
    EXPECT_EQ(m.MidiStatus(), QString());
}
