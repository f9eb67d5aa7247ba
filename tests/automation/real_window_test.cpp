#include "app/game_chooser.h"
#include "app/recent_games.h"
#include "base/byte_reader.h"
#include "base/event_log.h"
#include "platform/scripted_dialogs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <memory>
#include <optional>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// A picture of the whole X screen, read from the XWD file that `xwd -root`
// writes: a header of 25 big-endian 32-bit fields, the window's name, the
// colour map, then the pixels (ZPixmap, 24 or 32 bits a pixel).
std::optional<QImage> ReadXwd(const QByteArray& bytes)
{
    if (bytes.size() < 100)
        return std::nullopt;
    const base::ByteReader xwd(bytes);
    const auto field = [&](int i) { return xwd.u32be(4 * i); };
    const quint32 headerSize = field(0), version = field(1), format = field(2);
    const quint32 width = field(4), height = field(5), byteOrder = field(7), bitsPerPixel = field(11);
    const quint32 bytesPerLine = field(12), redMask = field(14), greenMask = field(15), blueMask = field(16);
    const quint32 colours = field(19);
    if (version != 7 || format != 2 || (bitsPerPixel != 32 && bitsPerPixel != 24) || width == 0 || height == 0 || width > 16384
        || height > 16384)
        return std::nullopt;
    const qint64 start = qint64(headerSize) + qint64(colours) * 12;
    if (start + qint64(bytesPerLine) * height > bytes.size() || bytesPerLine < width * (bitsPerPixel / 8))
        return std::nullopt;
    const auto channel = [](quint32 pixel, quint32 mask) {
        if (mask == 0)
            return 0;
        int shift = 0;
        while (!((mask >> shift) & 1))
            ++shift;
        return int((pixel & mask) >> shift);
    };
    QImage image(int(width), int(height), QImage::Format_RGB32);
    const int bytesPerPixel = int(bitsPerPixel / 8);
    for (quint32 y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uchar*>(bytes.constData() + start + qint64(y) * bytesPerLine);
        for (quint32 x = 0; x < width; ++x) {
            const uchar* p = row + x * bytesPerPixel;
            quint32 pixel = 0;
            for (int b = 0; b < bytesPerPixel; ++b)
                pixel |= quint32(p[byteOrder == 0 ? b : bytesPerPixel - 1 - b]) << (8 * b);
            image.setPixel(int(x), int(y), qRgb(channel(pixel, redMask), channel(pixel, greenMask), channel(pixel, blueMask)));
        }
    }
    return image;
}

bool CopyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(QDir(from).relativeFilePath(file));
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target))
            return false;
    }
    return true;
}

// The share of the reference's pixels that the screen shows at the same
// place, each colour channel within a small tolerance.
double Match(const QImage& screen, const QImage& reference, QPoint at)
{
    qint64 same = 0;
    for (int y = 0; y < reference.height(); ++y) {
        for (int x = 0; x < reference.width(); ++x) {
            const QPoint p = at + QPoint(x, y);
            if (!screen.rect().contains(p))
                continue;
            const QRgb a = screen.pixel(p), b = reference.pixel(x, y);
            same += std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 && std::abs(qBlue(a) - qBlue(b)) <= 8;
        }
    }
    return double(same) / double(qint64(reference.width()) * reference.height());
}

// A press and release of the left button at a point of the screen, made
// by the X server's test extension: the pointer moves there and clicks as
// a person's mouse does.
bool ClickAt(const QString& display, QPoint point)
{
    const std::unique_ptr<Display, decltype(&XCloseDisplay)> x(XOpenDisplay(display.toLocal8Bit().constData()), &XCloseDisplay);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!x || !XTestQueryExtension(x.get(), &event, &error, &major, &minor))
        return false;
    XTestFakeMotionEvent(x.get(), 0, point.x(), point.y(), CurrentTime);
    XTestFakeButtonEvent(x.get(), 1, True, 50);
    XTestFakeButtonEvent(x.get(), 1, False, 50);
    XSync(x.get(), False);
    return true;
}

// A press and release of a key, made by the X server's test extension: it
// goes to the window that has the keyboard focus.
bool PressKey(const QString& display, KeySym key)
{
    const std::unique_ptr<Display, decltype(&XCloseDisplay)> x(XOpenDisplay(display.toLocal8Bit().constData()), &XCloseDisplay);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!x || !XTestQueryExtension(x.get(), &event, &error, &major, &minor))
        return false;
    const KeyCode code = XKeysymToKeycode(x.get(), key);
    XTestFakeKeyEvent(x.get(), code, True, 50);
    XTestFakeKeyEvent(x.get(), code, False, 50);
    XSync(x.get(), False);
    return true;
}

// What a window manager reads of a top-level window: its title, the
// instance and class of WM_CLASS, and the sizes of the pictures of its icon
// (_NET_WM_ICON: width, height and the pixels of each, one after the other).
struct TopWindow {
    QString title;
    QString instance;
    QString windowClass;
    QList<QSize> icons;
};

std::vector<TopWindow> TopWindows(const QString& display)
{
    std::vector<TopWindow> found;
    const std::unique_ptr<Display, decltype(&XCloseDisplay)> x(XOpenDisplay(display.toLocal8Bit().constData()), &XCloseDisplay);
    if (!x)
        return found;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(x.get(), DefaultRootWindow(x.get()), &root, &parent, &children, &count))
        return found;
    const Atom iconAtom = XInternAtom(x.get(), "_NET_WM_ICON", False);
    for (unsigned int i = 0; i < count; ++i) {
        XClassHint hint{};
        if (!XGetClassHint(x.get(), children[i], &hint))
            continue;
        TopWindow window;
        window.instance = QString::fromLocal8Bit(hint.res_name);
        window.windowClass = QString::fromLocal8Bit(hint.res_class);
        XFree(hint.res_name);
        XFree(hint.res_class);
        char* title = nullptr;
        if (XFetchName(x.get(), children[i], &title) && title) {
            window.title = QString::fromLocal8Bit(title);
            XFree(title);
        }
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(x.get(), children[i], iconAtom, 0, 1 << 22, False, XA_CARDINAL, &type, &format, &items, &after, &data) == Success
            && data) {
            // Xlib gives 32-bit items as longs.
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            for (unsigned long at = 0; format == 32 && at + 2 <= items;) {
                const unsigned long w = values[at], h = values[at + 1];
                window.icons << QSize(int(w), int(h));
                at += 2 + w * h;
            }
            XFree(data);
        }
        found.push_back(window);
    }
    XFree(children);
    return found;
}

// A value of the installed menu entry.
QString DesktopEntry(const QString& key)
{
    QFile file(QStringLiteral(LOOM_DATA_DIR "/io.github.loomplay.loomplay.desktop"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QStringLiteral("(no desktop file)");
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(key + u'='))
            return line.mid(key.size() + 1);
    }
    return QStringLiteral("(no %1)").arg(key);
}

// A process that is killed, not left behind, whatever the test's outcome.
struct Child {
    QProcess process;
    ~Child()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

} // namespace

// The player started as a person starts it, on a real X server of its own
// (a free display number, told by the server itself), with the demo copied
// into a temporary folder and settings of its own. The pictures expected
// are drawn first by a headless run of the same demo.
class RealWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        xwd = QStandardPaths::findExecutable(QStringLiteral("xwd"));
        if (xvfb.isEmpty() || xwd.isEmpty())
            GTEST_SKIP() << "Xvfb or xwd is not installed (Debian packages xvfb and x11-apps)";
        ASSERT_TRUE(work.isValid());
        game = work.filePath(QStringLiteral("demo"));
        ASSERT_TRUE(CopyFolder(QStringLiteral(LOOM_DEMO_DIR), game));
        settings = work.filePath(QStringLiteral("settings"));
        drawHeadless();
        if (HasFatalFailure())
            return;

        server.process.setWorkingDirectory(work.path());
        server.process.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                                    QStringLiteral("1024x768x24"), QStringLiteral("-dpi"), QStringLiteral("96"), QStringLiteral("-nolisten"),
                                    QStringLiteral("tcp")});
        ASSERT_TRUE(server.process.waitForStarted(10000));
        QByteArray number;
        while (!number.contains('\n') && server.process.waitForReadyRead(10000))
            number += server.process.readAllStandardOutput();
        ASSERT_TRUE(number.contains('\n')) << "Xvfb did not say its display: " << server.process.readAllStandardError().toStdString();
        display = u':' + QString::fromLatin1(number.trimmed());
        // The bare screen is not mistaken for the player's windows.
        const std::optional<QImage> screen = screenshot();
        ASSERT_TRUE(screen) << "xwd gave no picture this test can read";
        bare = *screen;
        ASSERT_EQ(bare.size(), QSize(1024, 768));
        EXPECT_LT(Match(bare, welcome, at), 0.5);
        EXPECT_LT(Match(bare, frame, QPoint()), 0.5);
    }

    // The welcome window, the first frame after Start, and where the welcome
    // window's Start picture lies.
    void drawHeadless()
    {
        const QString shots = work.filePath(QStringLiteral("shots"));
        QFile script(work.filePath(QStringLiteral("welcome.txt")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("dump\nshot welcome.png\nclick Img(0)\nwait 500\nshot game.png\n");
        script.close();
        QProcess headless;
        headless.setWorkingDirectory(work.path());
        headless.start(QStringLiteral(LOOM_PLAYER), {QStringLiteral("--headless"), QStringLiteral("--script"), script.fileName(),
                                                      QStringLiteral("--shots"), shots, QStringLiteral("--screen"), QStringLiteral("1024x768"),
                                                      QStringLiteral("--dpi"), QStringLiteral("96"), QStringLiteral("--settings"),
                                                      work.filePath(QStringLiteral("headless-settings")), game});
        ASSERT_TRUE(headless.waitForFinished(60000));
        ASSERT_EQ(headless.exitCode(), 0) << headless.readAllStandardError().toStdString();
        const QJsonObject dump = QJsonDocument::fromJson(headless.readAllStandardOutput().split('\n').value(0)).object();
        const QJsonObject img = dump[QStringLiteral("windows")][QStringLiteral("frmWelcome")][QStringLiteral("elements")][QStringLiteral("Img(0)")].toObject();
        start = QRect(img[QStringLiteral("left")].toInt() / 15, img[QStringLiteral("top")].toInt() / 15, img[QStringLiteral("width")].toInt() / 15,
                      img[QStringLiteral("height")].toInt() / 15);
        ASSERT_FALSE(start.isEmpty()) << "the dump gives no place for Img(0)";
        const QJsonObject exitImg = dump[QStringLiteral("windows")][QStringLiteral("frmWelcome")][QStringLiteral("elements")][QStringLiteral("Img(2)")].toObject();
        exit = QRect(exitImg[QStringLiteral("left")].toInt() / 15, exitImg[QStringLiteral("top")].toInt() / 15,
                     exitImg[QStringLiteral("width")].toInt() / 15, exitImg[QStringLiteral("height")].toInt() / 15);
        ASSERT_TRUE(exitImg[QStringLiteral("visible")].toBool() && !exit.isEmpty()) << "the dump gives no place for Img(2)";
        welcome = QImage(QDir(shots).filePath(QStringLiteral("welcome.png")));
        ASSERT_FALSE(welcome.isNull());
        // Without a window manager the welcome window sits where the player centres it.
        at = QPoint((1024 - welcome.width()) / 2, (768 - welcome.height()) / 2);
        frame = QImage(QDir(shots).filePath(QStringLiteral("game.png")));
        ASSERT_EQ(frame.size(), QSize(1024, 768));
    }

    std::optional<QImage> screenshot()
    {
        const QString shot = work.filePath(QStringLiteral("screen.xwd"));
        QProcess grab;
        grab.start(xwd, {QStringLiteral("-root"), QStringLiteral("-silent"), QStringLiteral("-display"), display, QStringLiteral("-out"), shot});
        if (!grab.waitForFinished(10000) || grab.exitCode() != 0)
            return std::nullopt;
        QFile file(shot);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return ReadXwd(file.readAll());
    }

    void startPlayer(const QStringList& arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings);
        // As a desktop session gives it; Qt complains of its absence.
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        player.process.setProcessEnvironment(env);
        player.process.setWorkingDirectory(work.path());
        player.process.start(QStringLiteral(LOOM_PLAYER), arguments);
        ASSERT_TRUE(player.process.waitForStarted(10000));
    }

    // The best share of the picture found at its place while the screen is
    // read, until it is enough or time runs out.
    double waitFor(const QImage& expected, QPoint where, double enough)
    {
        double best = 0;
        for (int attempt = 0; attempt < 40 && best < enough; ++attempt) {
            if (player.process.state() != QProcess::Running)
                break;
            QThread::msleep(250);
            if (const std::optional<QImage> screen = screenshot())
                best = std::max(best, Match(*screen, expected, where));
        }
        return best;
    }

    // The welcome window, then Start: the game window fills the screen with
    // the first frame (its gull and lighthouse beam move, so not every
    // pixel is the same).
    void expectTheDemoToStart()
    {
        ASSERT_GE(waitFor(welcome, at, 0.97), 0.97) << "the demo's welcome window is not on the X screen: "
                                                     << player.process.readAllStandardError().toStdString();
        ASSERT_TRUE(ClickAt(display, at + start.center()));
        EXPECT_GE(waitFor(frame, QPoint(), 0.9), 0.9) << "the demo's first frame is not on the X screen";
    }

    QString listFile() const { return QDir(settings).filePath(QStringLiteral("loomplay/loomplay.ini")); }

    // The player started with no game, its own folder holding none: the
    // chooser, listing the demo, centred on the screen. Its picture is
    // taken once it shows.
    void openTheChooser()
    {
        {
            QSettings list(listFile(), QSettings::IniFormat);
            list.beginWriteArray(QStringLiteral("RecentGames"));
            list.setArrayIndex(0);
            list.setValue(QStringLiteral("folder"), QDir(game).absolutePath());
            list.setValue(QStringLiteral("name"), QStringLiteral("The Lighthouse"));
            list.endArray();
        }
        base::EventLog log;
        platform::ScriptedDialogs dialogs(log);
        app::RecentGames games;
        app::GameChooser layout(games, dialogs, base::CodePage());
        const platform::FormWindow& window = layout.window();
        chooserPlace = QRect(QPoint((1024 - window.width()) / 2, (768 - window.height()) / 2), window.size());
        play = chooserPlace.topLeft() + window.control(QStringLiteral("play"))->geometry().center();

        startPlayer({QStringLiteral("--mute")});
        bool shown = false;
        for (int attempt = 0; attempt < 40 && !shown && player.process.state() == QProcess::Running; ++attempt) {
            QThread::msleep(250);
            const std::optional<QImage> screen = screenshot();
            shown = screen && screen->pixel(play) != bare.pixel(play);
        }
        ASSERT_TRUE(shown) << "no chooser on the X screen: " << player.process.readAllStandardError().toStdString();
        // Drawn whole by now.
        QThread::msleep(500);
        const std::optional<QImage> screen = screenshot();
        ASSERT_TRUE(screen);
        chooser = screen->copy(chooserPlace);
    }

    QTemporaryDir work;
    QTemporaryDir runtimeDir;
    QString xwd;
    QString game;
    QString settings;
    QString display;
    QImage bare;
    QImage welcome;
    QImage frame;
    QRect start;
    QRect exit;
    QPoint at;
    QImage chooser;
    QRect chooserPlace;
    QPoint play;
    // Declared last, so they are killed first.
    Child server;
    Child player;
};

TEST_F(RealWindow, TheDemoStartsOnARealXScreenFromTheCommandLine)
{
    startPlayer({QStringLiteral("--mute"), game});
    expectTheDemoToStart();
    // A game started from the command line is a game played before.
    QFile list(listFile());
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_TRUE(list.readAll().contains(QDir(game).absolutePath().toUtf8()));
}

// Once a game plays, its sound output is open: Ctrl+C and SIGTERM (a
// terminal, `timeout`, the end of the session) still end the player, as its
// own Exit does, with the status a shell expects of a program so ended.
TEST_F(RealWindow, InterruptAndTerminateEndAPlayingGame)
{
    for (const int signal : {SIGTERM, SIGINT}) {
        // With the machine's own sound output, or none.
        startPlayer({game});
        expectTheDemoToStart();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(::kill(pid_t(player.process.processId()), signal), 0);
        ASSERT_TRUE(player.process.waitForFinished(10000)) << "signal " << signal << " did not end the player";
        EXPECT_EQ(player.process.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(player.process.exitCode(), 128 + signal);
        // The program's own words only: the sound system's complaints
        // about a missing sound card stay off the terminal.
        for (const QByteArray& line : player.process.readAllStandardError().split('\n')) {
            if (!line.isEmpty()) {
                EXPECT_TRUE(line.startsWith("loomplay: ")) << line.toStdString();
            }
        }
    }
}

TEST_F(RealWindow, AGameChosenFromTheListStartsAsFromTheCommandLine)
{
    openTheChooser();
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(ClickAt(display, play));
    expectTheDemoToStart();
}

// The chooser is where the player started: closing the game's welcome
// window, by Escape or by its Exit, leads back to it. Escape there, in the
// first window, ends the program.
TEST_F(RealWindow, ClosingAWelcomeWindowOpenedFromTheChooserGoesBackToIt)
{
    openTheChooser();
    if (HasFatalFailure())
        return;
    for (const bool byEscape : {true, false}) {
        ASSERT_TRUE(ClickAt(display, play));
        ASSERT_GE(waitFor(welcome, at, 0.97), 0.97) << "no welcome window after Play";
        if (byEscape)
            ASSERT_TRUE(PressKey(display, XK_Escape));
        else
            ASSERT_TRUE(ClickAt(display, at + exit.center()));
        ASSERT_GE(waitFor(chooser, chooserPlace.topLeft(), 0.95), 0.95)
            << "the chooser did not come back after " << (byEscape ? "Escape" : "Exit") << ": "
            << player.process.readAllStandardError().toStdString();
    }
    ASSERT_TRUE(PressKey(display, XK_Escape));
    ASSERT_TRUE(player.process.waitForFinished(10000)) << "Escape in the chooser did not end the program";
    EXPECT_EQ(player.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(player.process.exitCode(), 0);
}

TEST_F(RealWindow, EscapeInAWelcomeWindowStartedFromTheCommandLineEndsTheProgram)
{
    startPlayer({QStringLiteral("--mute"), game});
    ASSERT_GE(waitFor(welcome, at, 0.97), 0.97) << player.process.readAllStandardError().toStdString();
    ASSERT_TRUE(PressKey(display, XK_Escape));
    ASSERT_TRUE(player.process.waitForFinished(10000)) << "Escape did not end the program";
    EXPECT_EQ(player.process.exitCode(), 0);
}

// A dock ties the windows to the menu entry by their class, and shows their
// own icon where no icon theme holds the entry's.
TEST_F(RealWindow, TheWelcomeWindowCarriesTheMenuEntrysClassAndTheIcon)
{
    startPlayer({QStringLiteral("--mute"), game});
    ASSERT_GE(waitFor(welcome, at, 0.97), 0.97) << player.process.readAllStandardError().toStdString();
    const std::vector<TopWindow> windows = TopWindows(display);
    const auto shown = std::find_if(windows.begin(), windows.end(), [](const TopWindow& w) { return w.title == QLatin1String("The Lighthouse"); });
    ASSERT_NE(shown, windows.end()) << "no window titled The Lighthouse";
    EXPECT_EQ(shown->windowClass, DesktopEntry(QStringLiteral("StartupWMClass")));
    EXPECT_EQ(shown->instance, QStringLiteral("loomplay"));
    EXPECT_TRUE(shown->icons.contains(QSize(16, 16))) << shown->icons.size() << " icon pictures";
    EXPECT_TRUE(shown->icons.contains(QSize(256, 256)));
}
