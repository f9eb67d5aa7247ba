#include "demo/authoring.h"
#include "media/media.h"
#include "platform/window_picture.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QCoreApplication>
#include <QFile>
#include <QGraphicsView>

#include <gtest/gtest.h>

using testsupport::Field;
using testsupport::GameFolder;
using testsupport::Player;

namespace {

const QString kBrokenLink = QStringLiteral(
    " A program link is broken. Verify that the 'Initial Frame' exists and that the 'Go to another frame' option in the Area Properties is linked to an existing frame.");

QString openFailure(const QString& name)
{
    return Player::errorReport(QStringLiteral(" Unable to load the frame called '") + name
                               + QStringLiteral("'. Verify that the 'Initial Frame' exists and that the 'Go to another frame' option in the Area Properties is linked to an existing frame."));
}

// A frame file: background (mode, value, tiled) and the fields from 4 on.
void frameFile(GameFolder& folder, const QString& name, std::initializer_list<Field> fields)
{
    folder.frame(name, fields);
}

// What the game picture shows at each of its paints: the background
// picture's colour and the areas shown.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(engine::Game& game) : m_game(game) { game.window().view().viewport()->installEventFilter(this); }

    std::vector<QString> painted;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            onPaint();
        return QObject::eventFilter(watched, event);
    }

private:
    void onPaint()
    {
        const platform::Element* back = m_game.element(QStringLiteral("BackImage"));
        QString seen = back->hasPicture() ? back->picture().pixelColor(0, 0).name() : QStringLiteral("no picture");
        for (int i = 1; i <= 3; ++i) {
            const platform::Element* area = m_game.element(QStringLiteral("Area(%1)").arg(i));
            seen += area && area->shown() ? QStringLiteral(" area %1").arg(i) : QString();
        }
        const platform::Element* gif = m_game.element(QStringLiteral("AniGifBox(2)"));
        seen += gif && gif->shown() ? QStringLiteral(" animation") : QString();
        painted.push_back(seen);
    }

    engine::Game& m_game;
};

} // namespace

class OpenFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({});
        folder.frame(QStringLiteral("Start"));
    }
    // Starts the game on a screen at the game's size, forgetting the log.
    engine::Game& start(bool unseen = false)
    {
        run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path(), QSize(640, 480));
        options.unseen = unseen;
        player = std::make_unique<Player>(options);
        player->start();
        player->takeMessages();
        return player->game();
    }
    QString frames() const { return player->rt().project.FramesPath; }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(OpenFrame, AnEmptyNameShowsTheThreeFailureReports)
{
    engine::Game& game = start();
    game.OpenFrame(QString());
    const auto texts = player->takeMessages();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0], Player::errorReport(kBrokenLink));
    EXPECT_EQ(texts[1], Player::errorReport(QStringLiteral(" Unable to load the frame called ''.")));
    EXPECT_EQ(texts[2], openFailure(QString()));
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QString());
    // The name is in the history even though the frame failed.
    EXPECT_EQ(game.FramesHistory(), (QStringList{QStringLiteral("Start"), QString()}));
}

// A frame of the ten fields always read: channel sounds, video over the
// whole picture, MIDI repeating.
TEST_F(OpenFrame, ATenFieldFrameCallsTheMediaInOrderWithTheDefaults)
{
    folder.writeBytes(QStringLiteral("Frames/tune.mid"), demo::MidiFile({60, 62}));
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/intro.avi"), 500));
    folder.writeBytes(QStringLiteral("Areas/tick.wav"), demo::WavFile(demo::Tone(100)));
    folder.writeBytes(QStringLiteral("Frames/Ten.chn"), demo::ChannelFile({{.wave = QStringLiteral("tick.wav")}}));
    frameFile(folder, QStringLiteral("Ten"), {0, "0", false, false, "tune.mid", false, 0, "", "intro.avi", false});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Ten"));
    const QString f = frames();
    const std::vector<QString> expected{
        QStringLiteral("Status  mode"),
        QStringLiteral("close %1tune.mid").arg(f),
        QStringLiteral("open %1tune.mid type sequencer").arg(f),
        QStringLiteral("play %1tune.mid from 0 notify").arg(f),
        QStringLiteral("Stop "),
        QStringLiteral("Close "),
    };
    auto calls = player->mediaCalls();
    ASSERT_GT(calls.size(), expected.size() + 2);
    EXPECT_EQ(std::vector<QString>(calls.begin(), calls.begin() + static_cast<long>(expected.size())), expected);
    // The video over the whole picture (parent 1) under its random alias.
    const QString open = calls[expected.size()];
    EXPECT_TRUE(open.startsWith(QStringLiteral("Open \"%1intro.avi\" ALIAS ").arg(f))) << qPrintable(open);
    EXPECT_TRUE(open.endsWith(QStringLiteral(" TYPE AviVideo wait parent 1 style child"))) << qPrintable(open);
    const QString alias = open.section(u' ', 3, 3);
    EXPECT_EQ(calls[expected.size() + 1], QStringLiteral("play %1 window").arg(alias));
    // The frame waited for the end of the video.
    EXPECT_EQ(player->rt().clock().elapsedMs(), 500);
    // Then the frame's channel file, on the mixer.
    EXPECT_TRUE(calls.back().startsWith(QStringLiteral("WaveMixPlay 18 00")));
    EXPECT_EQ(player->rt().media().MidiStatus(), QStringLiteral("playing"));
    EXPECT_TRUE(player->rt().media().MidiLoop());
}

TEST_F(OpenFrame, MusicDeferredUntilAfterTheVideoStartsLast)
{
    folder.writeBytes(QStringLiteral("Frames/tune.mid"), demo::MidiFile({60}));
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/intro.avi"), 300));
    frameFile(folder, QStringLiteral("Late"), {0, "0", false, false, "tune.mid", false, 0, "", "intro.avi", true, false, false, ""});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Late"));
    const auto calls = player->mediaCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), QStringLiteral("play %1tune.mid from 0 notify").arg(frames()));
    const auto video = std::find_if(calls.begin(), calls.end(), [](const QString& c) { return c.startsWith(QStringLiteral("Open \"")); });
    const auto open = std::find(calls.begin(), calls.end(), QStringLiteral("open %1tune.mid type sequencer").arg(frames()));
    EXPECT_LT(video, open);
}

TEST_F(OpenFrame, PlayingMidiIsKeptUnlessTheFrameAsksToStopIt)
{
    folder.writeBytes(QStringLiteral("Frames/one.mid"), demo::MidiFile({60, 62, 64}));
    folder.writeBytes(QStringLiteral("Frames/two.mid"), demo::MidiFile({67}));
    frameFile(folder, QStringLiteral("One"), {0, "0", false, false, "one.mid", false, 0, "", "", false});
    frameFile(folder, QStringLiteral("Keep"), {0, "0", false, false, "two.mid", false, 0, "", "", false});
    frameFile(folder, QStringLiteral("Switch"), {0, "0", false, true, "two.mid", false, 0, "", "", false, false, false, "", 0, 0, 0, false, false, 0, 0, 0, 0, false});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("One"));
    game.OpenFrame(QStringLiteral("Keep"));
    EXPECT_EQ(player->rt().media().MidiFileName(), frames() + QStringLiteral("one.mid"));
    player->takeMessages();
    game.OpenFrame(QStringLiteral("Switch"));
    const auto calls = player->mediaCalls();
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[1], QStringLiteral("close %1one.mid").arg(frames()));
    EXPECT_EQ(calls[3], QStringLiteral("open %1two.mid type sequencer").arg(frames()));
    EXPECT_EQ(player->rt().media().MidiFileName(), frames() + QStringLiteral("two.mid"));
    EXPECT_FALSE(player->rt().media().MidiLoop());
}

TEST_F(OpenFrame, SilencedChannelsReleaseTheMixerAndPlayNoChannelFile)
{
    folder.writeBytes(QStringLiteral("Areas/tick.wav"), demo::WavFile(demo::Tone(100)));
    folder.writeBytes(QStringLiteral("Frames/Quiet.chn"), demo::ChannelFile({{.wave = QStringLiteral("tick.wav")}}));
    frameFile(folder, QStringLiteral("Quiet"), {0, "0", false, false, "", false, 0, "", "", false, true, false, ""});
    engine::Game& game = start();
    player->rt().media().PlaySoundChannels(frames() + QStringLiteral("Quiet.chn"));
    ASSERT_TRUE(player->rt().media().state().value(QStringLiteral("WaveMixActive")).toBool());
    player->takeMessages();
    game.OpenFrame(QStringLiteral("Quiet"));
    const auto calls = player->mediaCalls();
    EXPECT_FALSE(player->rt().media().state().value(QStringLiteral("WaveMixActive")).toBool());
    EXPECT_NE(std::find(calls.begin(), calls.end(), QStringLiteral("WaveMixCloseSession 1")), calls.end());
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const QString& c) { return c.startsWith(QStringLiteral("WaveMixPlay")); }), 0);
}

TEST_F(OpenFrame, AnMp3FrameSchedulesItsMusicAfterEverythingElse)
{
    folder.writeBytes(QStringLiteral("Frames/song.mp3"), "ID3");
    frameFile(folder, QStringLiteral("Song"), {0, "0", false, false, "", false, 0, "", "", false, false, false, "song.mp3"});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Song"));
    const auto calls = player->mediaCalls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.back(), QStringLiteral("mp3stop"));
    EXPECT_TRUE(game.MP3Timer.enabled());
    EXPECT_EQ(game.MP3Timer.tag(), frames() + QStringLiteral("song.mp3"));
    EXPECT_EQ(player->rt().media().MP3Duration(), 60);
    EXPECT_EQ(player->rt().media().MP3StartTime(), player->rt().clock().now());
}

TEST_F(OpenFrame, AStopMp3FrameWithoutMusicStopsIt)
{
    frameFile(folder, QStringLiteral("Hush"), {0, "0", false, false, "", false, 0, "", "", false, false, true, ""});
    engine::Game& game = start();
    game.MP3Timer.setEnabled(true);
    game.OpenFrame(QStringLiteral("Hush"));
    EXPECT_FALSE(game.MP3Timer.enabled());
    EXPECT_EQ(player->mediaCalls()[1], QStringLiteral("mp3stop"));
}

TEST_F(OpenFrame, ColourBackgroundsUseTheLowByteForRed)
{
    frameFile(folder, QStringLiteral("Blue"), {0, "16711680", false, false, "", false, 0, "", "", false});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Blue"));
    EXPECT_EQ(game.element(QStringLiteral("PictureBox"))->backColor(), QColor(0, 0, 255));
}

TEST_F(OpenFrame, StretchedAndTiledPicturesReplaceEachOther)
{
    folder.picture(QStringLiteral("Frames/hall.bmp"), 64, 48, Qt::green);
    folder.picture(QStringLiteral("Frames/tile.004"), 16, 16, Qt::blue);
    frameFile(folder, QStringLiteral("Hall"), {1, "hall.bmp", false, false, "", false, 0, "", "", false});
    frameFile(folder, QStringLiteral("Tiles"), {1, "tile.bmp", true, false, "", false, 0, "", "", false});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Hall"));
    platform::Element* back = game.element(QStringLiteral("BackImage"));
    EXPECT_TRUE(back->hasPicture());
    EXPECT_EQ(back->width(), 640 * 15);
    EXPECT_FALSE(game.element(QStringLiteral("PictureBox"))->hasTile());
    game.OpenFrame(QStringLiteral("Tiles"));
    EXPECT_FALSE(back->hasPicture());
    EXPECT_TRUE(game.element(QStringLiteral("ImageTile"))->hasPicture());
    EXPECT_TRUE(game.element(QStringLiteral("PictureBox"))->hasTile());
    EXPECT_TRUE(player->takeMessages().empty());
    // The tiles cover the picture from its top-left corner.
    const QImage shot = game.window().grab().toImage();
    const QPoint origin = game.window().view().mapFromScene(game.element(QStringLiteral("PictureBox"))->scenePos());
    EXPECT_EQ(shot.pixelColor(origin + QPoint(630, 470)), QColor(Qt::blue));
}

TEST_F(OpenFrame, AnyOtherBackgroundModeKeepsThePreviousBackground)
{
    folder.picture(QStringLiteral("Frames/hall.bmp"), 64, 48, Qt::green);
    frameFile(folder, QStringLiteral("Hall"), {1, "hall.bmp", false, false, "", false, 0, "", "", false});
    frameFile(folder, QStringLiteral("Same"), {2, "whatever", false, false, "", false, 0, "", "", false});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Hall"));
    game.OpenFrame(QStringLiteral("Same"));
    EXPECT_TRUE(game.element(QStringLiteral("BackImage"))->hasPicture());
    EXPECT_EQ(player->rt().frame.FrameBackgroundMode, 2);
    EXPECT_TRUE(player->takeMessages().empty());
}

TEST_F(OpenFrame, AMissingPictureIsReportedThenTheOpenFails)
{
    frameFile(folder, QStringLiteral("Gone"), {1, "gone.bmp", false, false, "", false, 5, "Start", "", false});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Gone"));
    const auto texts = player->takeMessages();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("The following file is missing: ") + frames() + QStringLiteral("gone.004")));
    EXPECT_EQ(texts[1], openFailure(QStringLiteral("Gone")));
    // The timer was disarmed and never armed again.
    EXPECT_FALSE(game.Timer1.enabled());
}

TEST_F(OpenFrame, AVideoRectangleBeyondSixteenBitTwipsFailsAfterTheMusicSettings)
{
    folder.writeBytes(QStringLiteral("Frames/tune.mid"), demo::MidiFile({60}));
    folder.writeBytes(QStringLiteral("Frames/intro.avi"), "RIFF");
    frameFile(folder, QStringLiteral("Wide"), {0, "0", false, false, "tune.mid", false, 0, "", "intro.avi", false, false, false, "",
                                              0, 0, 0, false, true, 2185, 0, 100, 100, true});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Wide"));
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{openFailure(QStringLiteral("Wide"))});
    EXPECT_EQ(player->rt().media().MidiStatus(), QStringLiteral("playing"));
}

TEST_F(OpenFrame, AVideoRectangleIsPlacedInTwips)
{
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/intro.avi"), 300));
    frameFile(folder, QStringLiteral("Boxed"), {0, "0", false, false, "", false, 0, "", "intro.avi", false, false, false, "",
                                               0, 0, 0, false, true, 10, 20, 160, 120, true});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Boxed"));
    const platform::Element* box = game.element(QStringLiteral("CutSceneArea"));
    EXPECT_EQ(box->left(), 150);
    EXPECT_EQ(box->top(), 300);
    EXPECT_EQ(box->width(), 2400);
    EXPECT_EQ(box->height(), 1800);
    EXPECT_FALSE(box->shown());
    const auto calls = player->mediaCalls();
    EXPECT_NE(std::find_if(calls.begin(), calls.end(), [](const QString& c) { return c.endsWith(QStringLiteral(" parent 2 style child")); }),
              calls.end());
}

TEST_F(OpenFrame, TheLinksFileGivesTheAreaCountAndIsOptional)
{
    folder.write(QStringLiteral("Frames/Start.lks"), {{3}});
    frameFile(folder, QStringLiteral("Bare"), {0, "0", false, false, "", false, 0, "", "", false});
    engine::Game& game = start();
    EXPECT_EQ(player->rt().frame.FrameAreaCount, 3);
    game.OpenFrame(QStringLiteral("Bare"));
    EXPECT_EQ(player->rt().frame.FrameAreaCount, 0);
    EXPECT_TRUE(player->takeMessages().empty());
}

TEST_F(OpenFrame, FrameNamesAreFoundWithoutRegardToLetterCase)
{
    folder.frame(QStringLiteral("HALLWAY"));
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Hallway"));
    EXPECT_TRUE(player->takeMessages().empty());
    EXPECT_EQ(player->rt().frame.CurrentFrameName, QStringLiteral("Hallway"));
}

TEST_F(OpenFrame, AFrameFileShorterThanTenFieldsFailsToOpen)
{
    folder.write(QStringLiteral("Frames/Short.fme"), {{0, "0", false, false, "", false}});
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Short"));
    EXPECT_EQ(player->takeMessages(), std::vector<QString>{openFailure(QStringLiteral("Short"))});
}

// The media status and the animations let events run in the middle of an
// open; the window must not show the frame half built there.
TEST_F(OpenFrame, TheGamePictureIsPaintedOnceWhenTheFrameIsWhole)
{
    folder.picture(QStringLiteral("Frames/hall.bmp"), 64, 48, Qt::green);
    folder.picture(QStringLiteral("Areas/door.bmp"), 16, 16, Qt::blue);
    folder.animation(QStringLiteral("Areas/flame.gif"), {Qt::red, Qt::yellow}, 12, 20);
    frameFile(folder, QStringLiteral("Hall"), {1, "hall.bmp", false, false, "", false, 0, "", "", false});
    folder.write(QStringLiteral("Frames/Hall.lks"), {{3}});
    folder.area(QStringLiteral("Hall"), 1, 300, 450, 600, 600, QStringLiteral("door.bmp"));
    folder.area(QStringLiteral("Hall"), 2, 1200, 450, 600, 600, QStringLiteral("flame.gif"), false, QString(), {}, {}, true);
    folder.write(QStringLiteral("Areas/Hall/2c.dat"), {{0, "", 0, 0, 50}});
    folder.area(QStringLiteral("Hall"), 3, 2400, 450, 600, 600, QStringLiteral("door.bmp"));
    engine::Game& game = start();
    QCoreApplication::processEvents();
    PaintWatch watch(game);
    game.OpenFrame(QStringLiteral("Hall"));
    EXPECT_FALSE(game.window().paintsHeld());
    QCoreApplication::processEvents();
    EXPECT_EQ(watch.painted, std::vector<QString>{QStringLiteral("#00ff00 area 1 area 2 area 3 animation")});
    EXPECT_TRUE(player->takeMessages().empty());
}

// A headless run's windows: nobody sees them, so they paint nothing until a
// shot takes their picture, which is the one a seen window shows.
TEST_F(OpenFrame, AWindowNobodySeesPaintsOnlyWhenItsPictureIsTaken)
{
    folder.picture(QStringLiteral("Frames/hall.bmp"), 64, 48, Qt::green);
    folder.picture(QStringLiteral("Areas/door.bmp"), 16, 16, Qt::blue);
    frameFile(folder, QStringLiteral("Hall"), {1, "hall.bmp", false, false, "", false, 0, "", "", false});
    folder.write(QStringLiteral("Frames/Hall.lks"), {{1}});
    folder.area(QStringLiteral("Hall"), 1, 300, 450, 600, 600, QStringLiteral("door.bmp"));
    QImage pictures[2];
    for (const bool unseen : {false, true}) {
        engine::Game& game = start(unseen);
        QCoreApplication::processEvents();
        PaintWatch watch(game);
        game.OpenFrame(QStringLiteral("Hall"));
        QCoreApplication::processEvents();
        EXPECT_EQ(watch.painted.size(), unseen ? 0u : 1u);
        // The picture is painted for the shot, once more where it was seen.
        pictures[unseen] = platform::WindowPicture(game.window()).toImage();
        EXPECT_EQ(watch.painted.size(), unseen ? 1u : 2u);
    }
    EXPECT_EQ(pictures[0], pictures[1]);
}

// A metafile an area shows (one LibreOffice wrote, with text) is drawn by the
// first paint of a window that is seen, and in one nobody sees only when a
// shot takes its picture; either way the picture is the same.
TEST_F(OpenFrame, AMetafileNobodySeesIsDrawnOnlyForAShot)
{
    QFile metafile(QStringLiteral(LOOM_TEST_DATA_DIR "/metafiles/libreoffice_text_page_015.emf"));
    ASSERT_TRUE(metafile.open(QIODevice::ReadOnly));
    folder.writeBytes(QStringLiteral("Areas/page.emf"), metafile.readAll());
    frameFile(folder, QStringLiteral("Page"), {0, "0", false, false, "", false, 0, "", "", false});
    folder.write(QStringLiteral("Frames/Page.lks"), {{1}});
    folder.area(QStringLiteral("Page"), 1, 150, 150, 1500, 1500, QStringLiteral("page.emf"));
    QImage pictures[2];
    for (const bool unseen : {false, true}) {
        engine::Game& game = start(unseen);
        game.OpenFrame(QStringLiteral("Page"));
        QCoreApplication::processEvents();
        const base::LazyImage& page = game.element(QStringLiteral("Area(1)"))->lazyPicture();
        ASSERT_FALSE(page.isNull());
        EXPECT_EQ(page.isMade(), !unseen);
        pictures[unseen] = platform::WindowPicture(game.window()).toImage();
        EXPECT_TRUE(page.isMade());
    }
    EXPECT_EQ(pictures[0], pictures[1]);
}

// A report in the middle of an open shows over the last frame; the report
// that ends a failed open shows over what it built, painted.
TEST_F(OpenFrame, AFailedOpenReleasesThePaintsBeforeItsLastReport)
{
    frameFile(folder, QStringLiteral("Gone"), {1, "gone.bmp", false, false, "", false, 5, "Start", "", false});
    engine::Game& game = start();
    std::vector<bool> heldAtReports;
    player->rt().log.setSink([&](const QJsonObject& entry) {
        if (entry.value(QStringLiteral("type")).toString() == QLatin1String("msgbox"))
            heldAtReports.push_back(game.window().paintsHeld());
    });
    game.OpenFrame(QStringLiteral("Gone"));
    EXPECT_EQ(heldAtReports, (std::vector<bool>{true, false}));
    EXPECT_FALSE(game.window().paintsHeld());
}
