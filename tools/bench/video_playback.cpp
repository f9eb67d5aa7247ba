// The cost of a cut-scene: a 640x480, 15 frames-a-second MS Video 1 video
// with PCM sound, played in the demo game's window with the real clock on
// Qt's offscreen platform. Prints the time from PlayMovieWithStop to the
// first picture on screen (median and largest of 10 starts; goal at most
// 100 ms) and the CPU of the player over 10 seconds of playing (goal at
// most 10 % of a core).
//   video_playback DEMO_DIR
#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "bench/cpu_time.h"
#include "engine/game.h"
#include "media/media.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::cpuSeconds;
using bench::idle;

bool copyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir() ? !copyFolder(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: video_playback DEMO_DIR\n");
        return 2;
    }
    QTemporaryDir work;
    const QString game = work.filePath(QStringLiteral("game"));
    if (!copyFolder(QString::fromLocal8Bit(argv[1]), game))
        return 1;
    const QString video = QDir(game).filePath(QStringLiteral("Frames/bench.avi"));
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {QStringLiteral("-y"), QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-f"),
                                            QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("testsrc=size=640x480:rate=15"),
                                            QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                            QStringLiteral("sine=frequency=330:sample_rate=22050"), QStringLiteral("-t"), QStringLiteral("12"),
                                            QStringLiteral("-c:v"), QStringLiteral("msvideo1"), QStringLiteral("-pix_fmt"), QStringLiteral("rgb555le"),
                                            QStringLiteral("-c:a"), QStringLiteral("pcm_s16le"), video});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
        std::fprintf(stderr, "video_playback: ffmpeg could not make the video\n");
        return 1;
    }

    qputenv("XDG_CONFIG_HOME", work.filePath(QStringLiteral("settings")).toLocal8Bit());
    run::RuntimeOptions options;
    options.projectDir = game;
    options.screen = QSize(640, 480);
    app::Runtime rt(options);
    rt.frmWelcome().ClickButton(0);
    engine::Game& window = rt.game();
    idle(500);

    std::vector<double> firstPicture;
    for (int i = 0; i < 10; ++i) {
        QElapsedTimer since;
        since.start();
        window.PlayMovieWithStop(video, QStringLiteral("PictureBox"));
        while (!window.element(QStringLiteral("VideoWindow")))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        firstPicture.push_back(since.nsecsElapsed() / 1e6);
        rt.media().StopMovie();
        idle(100);
    }
    std::sort(firstPicture.begin(), firstPicture.end());
    std::printf("PlayMovieWithStop to first picture: median %6.1f ms, largest %6.1f ms (goal 100 ms)\n", firstPicture[5], firstPicture.back());

    window.PlayMovieWithStop(video, QStringLiteral("PictureBox"));
    QElapsedTimer wall;
    wall.start();
    const double before = cpuSeconds();
    idle(10000);
    const double cpu = cpuSeconds() - before;
    std::printf("playing 640x480 at 15 frames a second: %5.2f %% of a core over %.1f s (goal 10 %%; %s)\n", 100.0 * cpu / (wall.elapsed() / 1000.0),
                wall.elapsed() / 1000.0, qPrintable(rt.media().VideoStatus()));
    return 0;
}
