#include "automation/script_runner.h"
#include "demo/authoring.h"
#include "devices/media_module.h"
#include "devices/video_decoder.h"
#include "media/media.h"
#include "media/mmedia.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;

// Cut-scenes: decoded, drawn in the game window, timed by the clock, and
// stopped by the player.
class Video : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"door"});
        // A blue frame whose cut-scene is red, 800 ms long.
        folder.frame(QStringLiteral("Start"), {0, "16711680", false, false, "", false, 0, "", "intro.avi", false});
        folder.area(QStringLiteral("Start"), 1, 3000, 3000, 1500, 1500);
        folder.write(QStringLiteral("Frames/Start.lks"), {{1}});
        folder.writeBytes(QStringLiteral("Areas/Start/1b.dat"), demo::ActionRecord().set(1, 1).set(2, "door").set(4, 1).bytes());
    }
    void load()
    {
        rt = std::make_unique<app::Runtime>(testsupport::ScriptedOptions(folder.path(), QSize(640, 480)));
        rt->frmWelcome().show();
        runner = std::make_unique<automation::ScriptRunner>(*rt, shots.path());
    }
    QJsonObject lastDump() const { return rt->log.ofType(QStringLiteral("dump")).back(); }
    QString videoStatus() const { return lastDump()[QStringLiteral("media")][QStringLiteral("VideoStatus")].toString(); }
    int notices(const char* containing) const
    {
        int n = 0;
        for (const QJsonObject& e : rt->log.ofType(QStringLiteral("notice")))
            n += e.value(QStringLiteral("text")).toString().contains(QLatin1String(containing));
        return n;
    }

    GameFolder folder;
    QTemporaryDir shots;
    std::unique_ptr<app::Runtime> rt;
    std::unique_ptr<automation::ScriptRunner> runner;
};

TEST_F(Video, AFreshVideoObjectIsClosedAndAMissingFileSendsNothing)
{
    load();
    media::Media& m = rt->media();
    EXPECT_EQ(m.VideoStatus(), QString());
    EXPECT_FALSE(m.IsVideoPlaying());
    rt->log.clear();
    m.VideoMedia().PlayMovie(rt->project.FramesPath + QStringLiteral("gone.avi"), 1);
    EXPECT_TRUE(rt->log.ofType(QStringLiteral("media")).empty());
    EXPECT_EQ(m.VideoMedia().Alias(), QString());
}

TEST_F(Video, TheScriptRunsInsideTheWaitAndSeesTheVideosPictures)
{
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/intro.avi"), 800, Qt::red, QSize(64, 48)));
    load();
    ASSERT_TRUE(runner->run({QStringLiteral("click lblButton(0)"), QStringLiteral("wait 300"), QStringLiteral("dump"), QStringLiteral("shot mid.png"),
                             QStringLiteral("wait 1000"), QStringLiteral("dump")}));
    const auto dumps = rt->log.ofType(QStringLiteral("dump"));
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(dumps[0][QStringLiteral("media")][QStringLiteral("VideoStatus")].toString(), QStringLiteral("playing"));
    // After its end the frame closed it.
    EXPECT_EQ(dumps[1][QStringLiteral("media")][QStringLiteral("VideoStatus")].toString(), QString());
    // The picture shows the video at its own size from the corner, and the
    // blue frame beside it.
    const QImage shot(shots.filePath(QStringLiteral("mid.png")));
    ASSERT_FALSE(shot.isNull());
    const QPoint corner = rt->game().element(QStringLiteral("PictureBox"))->scenePos().toPoint();
    EXPECT_EQ(QColor(shot.pixel(corner + QPoint(10, 10))), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(corner + QPoint(100, 100))), QColor(Qt::blue));
    EXPECT_EQ(rt->game().element(QStringLiteral("VideoWindow")), nullptr);
}

TEST_F(Video, AClickStopsTheVideoAndAnAreaClickDuringItDoesNothingElse)
{
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/intro.avi"), 5000));
    load();
    // Area(1) lies at 200, 200 in the picture.
    ASSERT_TRUE(runner->run({QStringLiteral("click lblButton(0)"), QStringLiteral("wait 1000"), QStringLiteral("click-at 210 210"),
                             QStringLiteral("dump")}));
    EXPECT_EQ(rt->game().GetVariableValue(QStringLiteral("door")), 0);
    EXPECT_EQ(videoStatus(), QString());
    EXPECT_FALSE(lastDump()[QStringLiteral("game")][QStringLiteral("StopVideoRequested")].toBool());
    EXPECT_LT(rt->clock().elapsedMs(), 2000);
    // Once it is over, the same click runs the area's action.
    ASSERT_TRUE(runner->run({QStringLiteral("click-at 210 210")}));
    EXPECT_EQ(rt->game().GetVariableValue(QStringLiteral("door")), 1);
}

TEST_F(Video, AnMp3StartFallingDuringAVideoIsDropped)
{
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/clip.avi"), 3000));
    QFile::copy(QStringLiteral(LOOM_DEMO_DIR "/Frames/morning.mp3"), folder.file(QStringLiteral("Frames/song.mp3")));
    folder.frame(QStringLiteral("Start"));
    folder.writeBytes(QStringLiteral("Areas/Start/1b.dat"),
                      demo::ActionRecord().set(16, 1).set(17, "clip.avi").set(27, 1).set(28, "song.mp3").bytes());
    load();
    // The wait runs while the video plays, past the music's start.
    ASSERT_TRUE(runner->run({QStringLiteral("click lblButton(0)"), QStringLiteral("click Area(1)"), QStringLiteral("wait 4000")}));
    engine::Game& game = rt->game();
    EXPECT_FALSE(game.MP3Timer.enabled());
    for (const QJsonObject& e : rt->log.ofType(QStringLiteral("media")))
        EXPECT_FALSE(e.value(QStringLiteral("call")).toString().startsWith(QStringLiteral("mp3play")));
}

TEST_F(Video, UndecodableAndTruncatedVideosAreSkippedWithANotice)
{
    folder.writeBytes(QStringLiteral("Frames/intro.avi"), QByteArray("RIFF\x20\0\0\0AVI LIST", 16) + QByteArray(64, '\x7f'));
    load();
    ASSERT_TRUE(runner->run({QStringLiteral("click lblButton(0)"), QStringLiteral("dump")}));
    EXPECT_EQ(notices("intro.avi"), 1);
    EXPECT_EQ(videoStatus(), QString());
    EXPECT_EQ(rt->clock().elapsedMs(), 0);
    // Half a real file: what can be decoded plays, nothing crashes.
    ASSERT_TRUE(folder.video(QStringLiteral("Frames/whole.avi"), 2000));
    QFile whole(folder.file(QStringLiteral("Frames/whole.avi")));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    folder.writeBytes(QStringLiteral("Frames/intro.avi"), whole.readAll().left(static_cast<int>(whole.size() / 2)));
    load();
    EXPECT_TRUE(runner->run({QStringLiteral("click lblButton(0)"), QStringLiteral("wait 3000"), QStringLiteral("dump")}));
    EXPECT_EQ(videoStatus(), QString());
}

TEST(VideoFiles, AVideoThatCannotBeOpenedLeavesNoFileOpen)
{
    testsupport::GameFolder folder;
    folder.writeBytes(QStringLiteral("bad.avi"), QByteArray("RIFF\x20\0\0\0AVI LIST", 16) + QByteArray(64, '\x7f'));
    const auto openFiles = [] { return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size(); };
    devices::MediaModule module;
    ASSERT_NE(module.backend(), nullptr);
    const qsizetype before = openFiles();
    for (int i = 0; i < 20; ++i)
        EXPECT_THROW(devices::VideoDecoder(module, folder.file(QStringLiteral("bad.avi"))), base::Failure);
    EXPECT_EQ(openFiles(), before);
}
