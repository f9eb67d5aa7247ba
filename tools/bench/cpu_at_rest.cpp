// CPU time of the player while it waits: a frame at rest, the player's menu
// open over it, the ring of Tab shown, a message in the strip, the inventory bar sliding open and
// closed, and the frame at rest
// with a looping sea on a sound channel and looping MIDI music, 10 real
// seconds each, on Qt's offscreen platform with the real clock. Waits must
// not spin: the goal is well under 1% of a core at rest, and at most 3 %
// with the sea and the music (synthesis and mixing included). With --debug
// the player runs as for an author: the Debug menu, the state window (not
// shown), and the files of the frame on screen watched for changes, at the
// same floor.
//   cpu_at_rest GAME_DIR [SECONDS] [--debug]
#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "authoring/live_reload.h"
#include "authoring/state_window.h"
#include "bench/cpu_time.h"
#include "engine/game.h"
#include "media/media.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <memory>

#include <cstdio>

namespace {

using bench::cpuSeconds;
using bench::idle;

// Runs `during` repeatedly (or just the event loop) for the given wall time
// and prints the share of one core used.
template <typename Step>
void measure(const char* what, double seconds, Step&& during)
{
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = cpuSeconds();
    while (wall.elapsed() < seconds * 1000)
        during(seconds * 1000 - wall.elapsed());
    const double cpu = cpuSeconds() - cpuBefore;
    const double elapsed = wall.elapsed() / 1000.0;
    std::printf("%-28s %6.3f s CPU in %6.2f s = %5.2f %% of a core\n", what, cpu, elapsed, 100.0 * cpu / elapsed);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: cpu_at_rest GAME_DIR [SECONDS] [--debug]\n");
        return 2;
    }
    const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
    const bool debug = argc > 3 && QByteArray(argv[3]) == "--debug";
    run::RuntimeOptions options;
    options.debug = debug;
    options.projectDir = QString::fromLocal8Bit(argv[1]);
    options.scripted = false;
    options.screen = QSize(640, 480);
    app::Runtime rt(options);
    std::unique_ptr<authoring::LiveReload> reload;
    std::unique_ptr<authoring::StateWindow> state;
    if (debug) {
        reload = std::make_unique<authoring::LiveReload>(rt);
        state = std::make_unique<authoring::StateWindow>(rt);
    }
    app::FrmWelcome& welcome = rt.frmWelcome();
    welcome.ClickButton(0);
    engine::Game& game = rt.game();
    idle(500);

    measure("frame at rest", seconds, [](qint64 left) { idle(left); });
    game.openPlayerMenu();
    measure("player's menu open", seconds, [](qint64 left) { idle(left); });
    game.playerMenu().choose(engine::PlayerMenu::Item::Resume);
    game.keyboardFocus().keyDown(Qt::Key_Tab, Qt::NoModifier);
    measure("focus ring shown", seconds, [](qint64 left) { idle(left); });
    game.keyboardFocus().clear();
    game.ShowTextMessage(QString(200, u'm'), true);
    measure("message in the strip", seconds, [](qint64 left) { idle(left); });
    game.FrameMessageBox_Click();
    measure("inventory bar sliding", seconds, [&](qint64) {
        game.InventoryDirection = game.element(QStringLiteral("Inventory1"))->top() >= 0 ? 2 : 1;
        game.inventoryBar().Inventory_Move();
    });
    // The slide's floor: a plain picture of the bar's size moved by a step
    // every 16 ms from one timer, down and up again.
    {
        platform::Element* bar = game.element(QStringLiteral("Inventory1"));
        platform::Element* plain = game.window().create(platform::Element::Kind::Image, QStringLiteral("FloorPicture"),
                                                        game.element(QStringLiteral("PictureBox")));
        QImage picture(bar->width() / 15, bar->height() / 15, QImage::Format_RGB32);
        picture.fill(Qt::darkYellow);
        plain->setPicture(picture);
        plain->bringToFront();
        const int h = plain->height();
        int step = h / 19;
        QTimer pace;
        pace.setTimerType(Qt::PreciseTimer);
        QObject::connect(&pace, &QTimer::timeout, [&] {
            int top = plain->top() + step;
            if (top >= 0 || top <= -h)
                step = -step;
            plain->setTop(std::clamp(top, -h, 0));
        });
        plain->setTop(-h);
        pace.start(16);
        measure("plain picture moved (floor)", seconds, [](qint64 left) { idle(left); });
        pace.stop();
        game.window().destroy(QStringLiteral("FloorPicture"));
    }
    // The demo's sea and the lantern room's tune.
    const QString frames = rt.project.FramesPath;
    rt.media().PlaySoundChannels(frames + QStringLiteral("Shore.chn"));
    rt.media().PlayMIDImusic(frames + QStringLiteral("lantern.011"), true);
    measure("sea and MIDI looping", seconds, [](qint64 left) { idle(left); });
    return 0;
}
