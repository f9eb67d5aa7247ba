// The time from an author's save of a file of the frame on screen to the
// frame opened again (--debug), on Qt's offscreen platform with the real
// clock: the links file of the initial frame is rewritten, as an editor
// writes it in place and as one that renames a new file over it, 20 times
// each, 300 ms apart. The goal: every reload done within 200 ms of the
// write (the player takes the writes together once they have been quiet
// for 50 ms, then opens the frame).
//   reload_latency GAME_DIR
// GAME_DIR is played and written to: give it a copy.
#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "authoring/live_reload.h"
#include "bench/cpu_time.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: reload_latency GAME_DIR\n");
        return 2;
    }
    run::RuntimeOptions options;
    options.projectDir = QString::fromLocal8Bit(argv[1]);
    options.scripted = false;
    options.debug = true;
    options.mute = true;
    options.screen = QSize(640, 480);
    app::Runtime rt(options);
    authoring::LiveReload reload(rt);
    // The notice of each reload ends the wait for it.
    QEventLoop waiting;
    int reloads = 0;
    rt.notices.setSink([&](const QString& line) {
        if (line.contains(QLatin1String("opens the frame"))) {
            ++reloads;
            waiting.quit();
        }
    });
    rt.frmWelcome().ClickButton(0);
    bench::idle(500);
    const QString frame = rt.frame.CurrentFrameName;
    const QString links = QDir(options.projectDir).filePath(QStringLiteral("Frames/%1.lks").arg(frame));
    QFile original(links);
    if (frame.isEmpty() || !original.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "reload_latency: the game's initial frame has no links file to write\n");
        return 1;
    }
    const QByteArray bytes = original.readAll();
    original.close();

    for (const bool byRename : {false, true}) {
        std::vector<qint64> times;
        for (int i = 0; i < 20; ++i) {
            QTimer giveUp;
            giveUp.setSingleShot(true);
            QObject::connect(&giveUp, &QTimer::timeout, &waiting, &QEventLoop::quit);
            const int before = reloads;
            QElapsedTimer since;
            since.start();
            const bool written = byRename ? writeFile(links + QStringLiteral(".new"), bytes) && std::rename(qPrintable(links + QStringLiteral(".new")), qPrintable(links)) == 0
                                          : writeFile(links, bytes);
            if (!written) {
                std::fprintf(stderr, "reload_latency: cannot write %s\n", qPrintable(links));
                return 1;
            }
            giveUp.start(2000);
            if (reloads == before)
                waiting.exec();
            times.push_back(reloads > before ? since.elapsed() : -1);
            bench::idle(300);
        }
        std::sort(times.begin(), times.end());
        const auto missed = std::count(times.begin(), times.end(), -1);
        std::printf("%-22s median %3lld ms, slowest %3lld ms, %lld of 20 not reloaded within 2 s\n",
                    byRename ? "saved by rename" : "written in place", static_cast<long long>(times[times.size() / 2]),
                    static_cast<long long>(times.back()), static_cast<long long>(missed));
    }
    return 0;
}
