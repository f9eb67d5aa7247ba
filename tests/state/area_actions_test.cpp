#include "demo/authoring.h"
#include "media/media.h"
#include "media/mmedia.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QJsonArray>

#include <gtest/gtest.h>

using demo::ActionRecord;
using testsupport::GameFolder;
using testsupport::Player;

class AreaActions : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"door", "lamp", "key"});
        folder.frame(QStringLiteral("Start"));
        folder.frame(QStringLiteral("Next"));
        folder.area(QStringLiteral("Start"), 1, 0, 0, 600, 600);
        folder.write(QStringLiteral("Frames/Start.lks"), {{1}});
    }
    void record(const ActionRecord& r) { folder.writeBytes(QStringLiteral("Areas/Start/1b.dat"), r.bytes()); }
    engine::Game& start()
    {
        player = std::make_unique<Player>(folder, QSize(640, 480));
        player->start();
        player->takeMessages();
        return player->game();
    }
    std::int16_t click() { return player->game().MakeAction(1, 0); }
    QString frames() const { return player->rt().project.FramesPath; }
    QString areaFolder() const { return player->rt().project.AreasPath + QStringLiteral("Start/"); }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(AreaActions, AnAreaWithoutARecordDoesNothing)
{
    start();
    EXPECT_EQ(click(), 0);
    // Only the question whether MIDI music plays.
    EXPECT_EQ(player->mediaCalls(), std::vector<QString>{QStringLiteral("Status  mode")});
    EXPECT_TRUE(player->boxes().empty());
}

TEST_F(AreaActions, SetToZeroThenOneThenToggleEndsAtZero)
{
    record(ActionRecord().set(1, 1).set(2, "door").set(3, 1).set(4, 1).set(5, 1));
    engine::Game& game = start();
    EXPECT_EQ(click(), 0);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("door")), 0);
}

TEST_F(AreaActions, TheSingleVariableNeedsItsSwitch)
{
    record(ActionRecord().set(1, 0).set(2, "door").set(4, 1));
    engine::Game& game = start();
    click();
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("door")), 0);
}

TEST_F(AreaActions, ANameInTheSetToOneAndToggleListsEndsAtZero)
{
    ActionRecord r;
    r.set(40, 1);
    r.lists = {QStringList{QStringLiteral("lamp")}, QStringList{QStringLiteral("key"), QStringLiteral("door")}, QStringList{QStringLiteral("door")}};
    record(r);
    engine::Game& game = start();
    click();
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("door")), 0);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("key")), 1);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("lamp")), 0);
}

TEST_F(AreaActions, EndingTheGameComesAfterTheVariablesAndTheRemovalAndStopsTheRest)
{
    folder.writeBytes(QStringLiteral("Frames/end.avi"), "RIFF");
    record(ActionRecord().set(1, 1).set(2, "lamp").set(4, 1).set(10, true).set(11, true).set(12, 1).set(13, "Next")
               .set(16, 1).set(17, "end.avi").set(6, 1).set(7, "Bye"));
    engine::Game& game = start();
    EXPECT_EQ(click(), 1);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("lamp")), 1);
    EXPECT_EQ(game.Disappear.Count(), 1);
    EXPECT_EQ(game.Disappear.Item(1).Name, QStringLiteral("Start"));
    EXPECT_EQ(game.Disappear.Item(1).Value, 1);
    EXPECT_EQ(player->mediaCalls(), std::vector<QString>{QStringLiteral("Status  mode")});
    EXPECT_TRUE(player->rt().log.ofType(QStringLiteral("call")).empty());
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Start"));
}

TEST_F(AreaActions, AClickThatEndsTheGameClosesTheGameWindow)
{
    record(ActionRecord().set(11, 1));
    engine::Game& game = start();
    game.areas().AreaClick(1, 1);
    EXPECT_FALSE(game.visible());
    EXPECT_TRUE(player->welcome().window().isVisible());
    const auto calls = player->mediaCalls();
    // The MIDI music stops as the window closes.
    EXPECT_NE(std::find(calls.begin(), calls.end(), QStringLiteral("close ")), calls.end());
}

TEST_F(AreaActions, AThirteenFieldRecordPlaysItsSoundAndOpensTheFrame)
{
    folder.writeBytes(QStringLiteral("Areas/knock.wav"), demo::WavFile(demo::Tone(300)));
    ActionRecord r;
    r.length = 13;
    r.set(1, 1).set(2, "door").set(5, 1).set(8, 1).set(9, "knock.wav").set(12, 1).set(13, "Next").set(16, 1);
    record(r);
    engine::Game& game = start();
    EXPECT_EQ(click(), 2);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("door")), 1);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Next"));
    // The sound's alias: the name's last three letters and the minute (10:00).
    const auto calls = player->mediaCalls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[1], QStringLiteral("Open \"%1knock.wav\" ALIAS wav0 TYPE Waveaudio wait").arg(player->rt().project.AreasPath));
    EXPECT_EQ(calls[2], QStringLiteral("Play wav0"));
    EXPECT_EQ(player->rt().media().SoundMedia().Status(), QStringLiteral("playing"));
    for (const QString& c : calls)
        EXPECT_FALSE(c.startsWith(QStringLiteral("PlayMovieWithStop"))) << qPrintable(c);
}

TEST_F(AreaActions, WithoutItsSoundFileTheActionPlaysItsChannelFile)
{
    ActionRecord r;
    r.length = 13;
    r.set(8, 1).set(9, "missing.wav");
    record(r);
    folder.writeBytes(QStringLiteral("Areas/tick.wav"), demo::WavFile(demo::Tone(100)));
    folder.writeBytes(QStringLiteral("Areas/Start/1d.dat"), demo::ChannelFile({{.wave = QStringLiteral("tick.wav")}}));
    start();
    click();
    const QJsonObject channel = player->rt().media().state().value(QStringLiteral("channels")).toArray().at(0).toObject();
    EXPECT_EQ(channel.value(QStringLiteral("file")).toString(), player->rt().project.AreasPath + QStringLiteral("tick.wav"));
    EXPECT_TRUE(channel.value(QStringLiteral("playing")).toBool());
}

TEST_F(AreaActions, AVideoPlaysInItsRectangleOnlyWhenFieldNineteenIsTrue)
{
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/clip.avi"), 300));
    record(ActionRecord().set(16, 1).set(17, "clip.avi").set(19, 1).set(20, 10).set(21, 10).set(22, 100).set(23, 100));
    start();
    click();
    auto calls = player->mediaCalls();
    auto opened = [&calls](int parent) {
        return std::find_if(calls.begin(), calls.end(), [parent](const QString& c) {
                   return c.endsWith(QStringLiteral(" TYPE AviVideo wait parent %1 style child").arg(parent));
               }) != calls.end();
    };
    EXPECT_TRUE(opened(1));
    player->takeMessages();
    record(ActionRecord().set(16, 1).set(17, "clip.avi").set(19, true).set(20, 10).set(21, 10).set(22, 100).set(23, 100));
    click();
    calls = player->mediaCalls();
    EXPECT_TRUE(opened(2));
    EXPECT_EQ(player->game().element(QStringLiteral("CutSceneArea"))->width(), 1500);
}

TEST_F(AreaActions, ARectangleBeyondSixteenBitTwipsFailsTheAction)
{
    folder.writeBytes(QStringLiteral("Frames/clip.avi"), "RIFF");
    record(ActionRecord().set(1, 1).set(2, "door").set(4, 1).set(16, 1).set(17, "clip.avi").set(19, true).set(20, 2185).set(12, 1).set(13, "Next"));
    engine::Game& game = start();
    EXPECT_EQ(click(), 0);
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to make the action associated with the selected area."))});
    // What ran before the failure stays done.
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("door")), 1);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Start"));
}

TEST_F(AreaActions, OpeningAFrameWinsOverGoingBack)
{
    folder.frame(QStringLiteral("Other"));
    record(ActionRecord().set(12, 1).set(13, "Other").set(32, 1));
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Next"));
    game.OpenFrame(QStringLiteral("Start"));
    EXPECT_EQ(click(), 2);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Other"));
}

TEST_F(AreaActions, GoingBackNeedsTwoFramesInTheHistory)
{
    record(ActionRecord().set(32, 1));
    engine::Game& game = start();
    EXPECT_EQ(click(), 0);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Start"));
    game.OpenFrame(QStringLiteral("Next"));
    game.OpenFrame(QStringLiteral("Start"));
    EXPECT_EQ(click(), 2);
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Next"));
    EXPECT_EQ(game.FramesHistory(), (QStringList{"Start", "Next"}));
}

TEST_F(AreaActions, PlayingMidiIsOnlyReplacedWhenTheRecordStopsIt)
{
    folder.writeBytes(QStringLiteral("Frames/a.mid"), demo::MidiFile({60, 64}));
    folder.writeBytes(QStringLiteral("Frames/b.mid"), demo::MidiFile({67}));
    record(ActionRecord().set(25, 1).set(26, "a.mid").set(42, false));
    engine::Game& game = start();
    click();
    EXPECT_EQ(player->rt().media().MidiFileName(), frames() + QStringLiteral("a.mid"));
    EXPECT_FALSE(player->rt().media().MidiLoop());
    record(ActionRecord().set(25, 1).set(26, "b.mid"));
    click();
    EXPECT_EQ(player->rt().media().MidiFileName(), frames() + QStringLiteral("a.mid"));
    record(ActionRecord().set(14, 1).set(25, 1).set(26, "b.mid"));
    click();
    EXPECT_EQ(player->rt().media().MidiFileName(), frames() + QStringLiteral("b.mid"));
    EXPECT_TRUE(player->rt().media().MidiLoop());
    (void)game;
}

TEST_F(AreaActions, FieldThirtySixPassedAsABooleanChoosesTheStripForAnyNonZeroValue)
{
    record(ActionRecord().set(6, 1).set(7, "A draught blows.").set(36, true));
    engine::Game& game = start();
    click();
    EXPECT_TRUE(game.element(QStringLiteral("FrameMessageBox"))->shown());
    EXPECT_EQ(game.element(QStringLiteral("LabelMessageBox"))->text(), QStringLiteral("A draught blows."));
    game.FrameMessageBox_Click();
    // The number 1 converts to True where a value is passed as a Boolean.
    record(ActionRecord().set(6, 1).set(7, "Also in the strip.").set(36, 1));
    click();
    EXPECT_TRUE(player->boxes().empty());
    EXPECT_TRUE(game.element(QStringLiteral("FrameMessageBox"))->shown());
    EXPECT_EQ(game.element(QStringLiteral("LabelMessageBox"))->text(), QStringLiteral("Also in the strip."));
    record(ActionRecord().set(6, 1).set(7, "In a box.").set(36, 0));
    click();
    EXPECT_EQ(player->boxes().back().value(QStringLiteral("text")).toString(), QStringLiteral("In a box."));
    EXPECT_EQ(player->boxes().back().value(QStringLiteral("title")).toString(), QStringLiteral("Test Game"));
}

TEST_F(AreaActions, Mp3MusicIsScheduledOnTheTimer)
{
    folder.writeBytes(QStringLiteral("Frames/song.mp3"), "ID3");
    record(ActionRecord().set(27, 1).set(28, "song.mp3"));
    engine::Game& game = start();
    click();
    EXPECT_TRUE(game.MP3Timer.enabled());
    EXPECT_EQ(game.MP3Timer.tag(), frames() + QStringLiteral("song.mp3"));
    EXPECT_EQ(player->rt().media().MP3Duration(), 60);
}

TEST_F(AreaActions, TextWhereANumberBelongsFailsTheAction)
{
    folder.writeBytes(QStringLiteral("Areas/Start/1b.dat"), "1,\"door\",\"abc\",1,0,0,\"\",0,\"\",0,0,0,\"\"\r\n");
    engine::Game& game = start();
    EXPECT_EQ(click(), 0);
    EXPECT_EQ(player->takeMessages().size(), 1u);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("door")), 0);
}

TEST_F(AreaActions, RecordsForDroppedObjectsNeedTheObject)
{
    folder.write(QStringLiteral("Areas/Start/1_Key.drg"), {{0, "", 0, 0, 0, 0, "", 0, "", 1, 0, 0, ""}});
    engine::Game& game = start();
    EXPECT_EQ(game.MakeAction(1, 1), 0);
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to make the action associated with the selected area."))});
}
