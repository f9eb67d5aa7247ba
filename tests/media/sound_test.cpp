#include "demo/authoring.h"
#include "devices/media_commands.h"
#include "media/media.h"
#include "media/mmedia.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

// Single wave sounds through the shared media object, and the eight sound
// channels of frames and actions.
class Sound : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.variables({});
        folder.frame(QStringLiteral("Start"));
        folder.writeBytes(QStringLiteral("Areas/long.wav"), demo::WavFile(demo::Tone(2500)));
        folder.writeBytes(QStringLiteral("Areas/short.wav"), demo::WavFile(demo::Tone(1000, 660)));
    }
    engine::Game& start(const testsupport::GeneralSettings& settings = {}, QTime at = QTime(10, 0))
    {
        folder.general(settings);
        run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path(), QSize(1024, 768));
        options.startTime = QDateTime(QDate(2026, 1, 1), at);
        rt = std::make_unique<app::Runtime>(options);
        rt->frmWelcome().ClickButton(0);
        rt->log.clear();
        return rt->game();
    }
    media::Media& media() { return rt->media(); }
    QString areas() const { return rt->project.AreasPath; }
    void channels(const std::vector<demo::ChannelRecord>& records)
    {
        folder.writeBytes(QStringLiteral("Areas/Start/1d.dat"), demo::ChannelFile(records));
        media().PlaySoundChannels(areas() + QStringLiteral("Start/1d.dat"));
    }
    QJsonObject channel(int c) { return media().state().value(QStringLiteral("channels")).toArray().at(c).toObject(); }
    std::vector<QString> calls(const char* prefix)
    {
        std::vector<QString> out;
        for (const QJsonObject& e : rt->log.ofType(QStringLiteral("media"))) {
            const QString call = e.value(QStringLiteral("call")).toString();
            if (call.startsWith(QLatin1String(prefix)))
                out.push_back(call);
        }
        return out;
    }
    void wait(int ms) { rt->clock().sleep(ms); }

    GameFolder folder;
    std::unique_ptr<app::Runtime> rt;
};

TEST_F(Sound, TheAliasIsTheNamesEndAndTheMinuteOfThePlayersClock)
{
    start({}, QTime(10, 7));
    media::Mmedia& m = media().SoundMedia();
    m.mmOpen(QStringLiteral("C:\\music\\theme.mid"));
    EXPECT_EQ(m.Alias(), QStringLiteral("mid7"));
    EXPECT_EQ(calls("Open"), std::vector<QString>{QStringLiteral("Open \"C:\\music\\theme.mid\" ALIAS mid7 TYPE Sequencer wait")});
    start({}, QTime(10, 42));
    media().SoundMedia().mmOpen(QStringLiteral("C:\\music\\theme.mid"));
    EXPECT_EQ(media().SoundMedia().Alias(), QStringLiteral("mid42"));
}

TEST_F(Sound, AClosedObjectSendsNothingButItsStatusAndSeek)
{
    start();
    media::Mmedia& m = media().SoundMedia();
    EXPECT_EQ(m.Status(), QString());
    m.mmPlay();
    m.mmPause();
    m.mmStop();
    m.mmClose();
    EXPECT_EQ(m.Length(), 0);
    EXPECT_EQ(m.Position(), 0);
    m.mmSeek(1.5f);
    std::vector<QString> sent;
    for (const QJsonObject& e : rt->log.ofType(QStringLiteral("media")))
        sent.push_back(e.value(QStringLiteral("call")).toString());
    EXPECT_EQ(sent, (std::vector<QString>{QStringLiteral("Status  mode"), QStringLiteral("Seek  to 1.5")}));
}

TEST_F(Sound, AWavePlaysForItsOwnLengthOnTheClock)
{
    start();
    media::Mmedia& m = media().SoundMedia();
    m.mmOpenWave(areas() + QStringLiteral("long.wav"));
    EXPECT_EQ(m.Status(), QStringLiteral("stopped"));
    EXPECT_NEAR(m.Length(), 2500, 1);
    m.mmPlay();
    wait(1000);
    EXPECT_EQ(m.Status(), QStringLiteral("playing"));
    EXPECT_NEAR(m.Position(), 1000, 1);
    m.mmPause();
    wait(5000);
    EXPECT_EQ(m.Status(), QStringLiteral("paused"));
    m.mmPlay();
    wait(1499);
    EXPECT_EQ(m.Status(), QStringLiteral("playing"));
    wait(1);
    EXPECT_EQ(m.Status(), QStringLiteral("stopped"));
    m.mmClose();
    EXPECT_EQ(m.Status(), QString());
    EXPECT_EQ(m.FileName(), QString());
}

TEST_F(Sound, DamagedOrMissingSoundsPlayNothing)
{
    folder.writeBytes(QStringLiteral("Areas/bad.wav"), QByteArray("RIFF\x10\0\0\0WAVEfmt garbage", 24));
    folder.writeBytes(QStringLiteral("Frames/bad.mid"), "MThd\0\0\0\6\0\1\0\1\1");
    folder.writeBytes(QStringLiteral("Frames/bad.mp3"), QByteArray(4000, '\xff'));
    engine::Game& game = start();
    devices::MediaCommands& commands = media().commands();
    EXPECT_EQ(commands.send(QStringLiteral("open \"%1bad.wav\" alias b type waveaudio").arg(areas())), devices::MediaCommands::kCannotRead);
    EXPECT_EQ(commands.send(QStringLiteral("open %1bad.mid type sequencer").arg(rt->project.FramesPath)), devices::MediaCommands::kCannotRead);
    EXPECT_EQ(commands.send(QStringLiteral("open %1gone.wav type waveaudio").arg(areas())), devices::MediaCommands::kFileNotFound);
    EXPECT_EQ(commands.send(QStringLiteral("play nothing")), devices::MediaCommands::kUnknownDevice);
    EXPECT_EQ(commands.send(QStringLiteral("dance b")), devices::MediaCommands::kUnknownCommand);
    EXPECT_FALSE(devices::MediaCommands::errorText(devices::MediaCommands::kFileNotFound).isEmpty());
    game.ScheduleMP3Music(QStringLiteral("bad.mp3"));
    wait(1000);
    EXPECT_FALSE(media().IsMP3Playing());
    EXPECT_EQ(media().MP3Duration(), 0);
    channels({{.wave = QStringLiteral("bad.wav")}});
    EXPECT_FALSE(channel(0).value(QStringLiteral("playing")).toBool());
    EXPECT_TRUE(rt->log.ofType(QStringLiteral("msgbox")).empty());
}

TEST_F(Sound, EachFileThatCannotBeDecodedIsToldOnce)
{
    folder.writeBytes(QStringLiteral("Areas/bad.wav"), QByteArray("RIFF\x10\0\0\0WAVEfmt garbage", 24));
    folder.writeBytes(QStringLiteral("Frames/bad.mid"), "MThd\0\0\0\6\0\1\0\1\1");
    folder.writeBytes(QStringLiteral("Frames/bad.mp3"), QByteArray(4000, '\xff'));
    engine::Game& game = start();
    const QString wave = areas() + QStringLiteral("bad.wav");
    const QString midi = rt->project.FramesPath + QStringLiteral("bad.mid");
    const QString mp3 = rt->project.FramesPath + QStringLiteral("bad.mp3");
    for (int twice = 0; twice < 2; ++twice) {
        media().SoundMedia().mmOpenWave(wave);
        channels({{.wave = QStringLiteral("bad.wav")}});
        media().PlayMIDImusic(midi, false);
        game.ScheduleMP3Music(QStringLiteral("bad.mp3"));
        wait(1000);
        media().ReleaseWaveMix();
    }
    // A missing file is told by the media names, not here.
    channels({{.wave = QStringLiteral("gone.wav")}});
    std::map<QString, int> told;
    for (const QJsonObject& n : rt->log.ofType(QStringLiteral("notice"))) {
        if (const QString text = n.value(QStringLiteral("text")).toString(); text.contains(QStringLiteral(" is skipped: ")))
            ++told[text.section(u':', 0, 0)];
    }
    EXPECT_EQ(told, (std::map<QString, int>{{QStringLiteral("The sound %1 is skipped").arg(wave), 1},
                                            {QStringLiteral("The music %1 is skipped").arg(midi), 1},
                                            {QStringLiteral("The music %1 is skipped").arg(mp3), 1}}));
}

TEST_F(Sound, AChannelFileOfOnlyItsTwentyTwoFieldsIsReported)
{
    start();
    channels({});
    const auto boxes = rt->log.ofType(QStringLiteral("msgbox"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].value(QStringLiteral("text")).toString(), Player::errorReport(QStringLiteral(" Unable to load sound channels information.")));
}

TEST_F(Sound, ThreeRecordsTouchTheFirstThreeChannelsOnly)
{
    start();
    channels({{.wave = QStringLiteral("long.wav"), .loop = 1}});
    channels({{.play = false}, {.wave = QStringLiteral("short.wav")}, {.wave = QStringLiteral("short.wav")}});
    // Channel 0 had neither flag: its sea plays on.
    EXPECT_TRUE(channel(0).value(QStringLiteral("playing")).toBool());
    EXPECT_TRUE(channel(1).value(QStringLiteral("playing")).toBool());
    EXPECT_TRUE(channel(2).value(QStringLiteral("playing")).toBool());
    for (int c = 3; c < 8; ++c)
        EXPECT_EQ(channel(c).value(QStringLiteral("file")).toString(), QString()) << c;
}

TEST_F(Sound, TextInAFlagIsAWrongTypeAndTheChannelsBeforeItKeepPlaying)
{
    start();
    // Written by hand, as an editor other than the authoring tool would.
    const auto channelFile = [&](const QByteArray& records) {
        folder.writeBytes(QStringLiteral("Areas/Start/1d.dat"), QByteArray("0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0\r\n") + records);
        media().PlaySoundChannels(areas() + QStringLiteral("Start/1d.dat"));
    };
    channelFile("0,#FALSE#,#TRUE#,\"long.wav\",1\r\n0,\"yes\",#TRUE#,\"short.wav\",0\r\n0,#FALSE#,#TRUE#,\"short.wav\",0\r\n");
    const auto boxes = rt->log.ofType(QStringLiteral("msgbox"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].value(QStringLiteral("text")).toString(), Player::errorReport(QStringLiteral(" Unable to load sound channels information.")));
    EXPECT_TRUE(channel(0).value(QStringLiteral("playing")).toBool());
    EXPECT_FALSE(channel(1).value(QStringLiteral("playing")).toBool());
    EXPECT_FALSE(channel(2).value(QStringLiteral("playing")).toBool());
    // Text that is a number compares as that number: -1 is true, 1 is not.
    rt->log.clear();
    channelFile("0,#FALSE#,\"-1\",\"short.wav\",0\r\n0,#FALSE#,\"1\",\"short.wav\",0\r\n");
    EXPECT_TRUE(rt->log.ofType(QStringLiteral("msgbox")).empty());
    EXPECT_EQ(channel(0).value(QStringLiteral("file")).toString(), areas() + QStringLiteral("short.wav"));
    EXPECT_FALSE(channel(1).value(QStringLiteral("playing")).toBool());
}

TEST_F(Sound, LoopZeroPlaysOnceAnyOtherLoopsWithoutEnd)
{
    start();
    channels({{.wave = QStringLiteral("short.wav"), .loop = 0}, {.wave = QStringLiteral("short.wav"), .loop = 1}});
    wait(999);
    EXPECT_TRUE(channel(0).value(QStringLiteral("playing")).toBool());
    wait(1);
    EXPECT_FALSE(channel(0).value(QStringLiteral("playing")).toBool());
    wait(60000);
    EXPECT_TRUE(channel(1).value(QStringLiteral("playing")).toBool());
    EXPECT_TRUE(channel(1).value(QStringLiteral("loop")).toBool());
    // A Boolean true for Loop counts too; the play record says endless.
    EXPECT_TRUE(calls("WaveMixPlay").back().endsWith(QStringLiteral("05 00 ff ff")));
}

TEST_F(Sound, StopAndPlayOnOneChannelReplaceItsSoundAndFreeTheOldWave)
{
    start();
    channels({{.wave = QStringLiteral("long.wav"), .loop = 1}});
    channels({{.stop = true, .play = false}});
    EXPECT_FALSE(channel(0).value(QStringLiteral("playing")).toBool());
    channels({{.stop = true, .wave = QStringLiteral("short.wav")}});
    EXPECT_EQ(channel(0).value(QStringLiteral("file")).toString(), areas() + QStringLiteral("short.wav"));
    EXPECT_EQ(calls("WaveMixFreeWave").size(), 1u);
    // Releasing the mixer silences every channel.
    media().ReleaseWaveMix();
    EXPECT_FALSE(channel(0).value(QStringLiteral("playing")).toBool());
}

TEST_F(Sound, SingleSoundModeTakesOnlyTheFirstRecordThroughTheMediaObject)
{
    start({.singleSound = true});
    channels({{.stop = true, .wave = QStringLiteral("short.wav")}, {.wave = QStringLiteral("long.wav")}});
    EXPECT_TRUE(calls("WaveMix").empty());
    EXPECT_EQ(media().SoundMedia().FileName(), areas() + QStringLiteral("short.wav"));
    EXPECT_EQ(media().SoundMedia().Status(), QStringLiteral("playing"));
}

TEST_F(Sound, TheSilentOutputIsToldOnceAndKeepsTheTimings)
{
    start();
    channels({{.wave = QStringLiteral("short.wav")}});
    media().SoundMedia().mmOpenWave(areas() + QStringLiteral("long.wav"));
    media().SoundMedia().mmPlay();
    EXPECT_EQ(rt->log.ofType(QStringLiteral("notice")).size(), 1u);
    wait(2500);
    EXPECT_EQ(media().SoundMedia().Status(), QStringLiteral("stopped"));
}
