#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include <xcb/xcb.h>

namespace {

// A picture of the whole X screen, read from the XWD file that `xwd -root`
// writes: a header of 25 big-endian 32-bit fields, the window's name, the
// colour map, then the pixels (ZPixmap, 24 or 32 bits a pixel).
std::optional<QImage> ReadXwd(const QByteArray& bytes)
{
    if (bytes.size() < 100)
        return std::nullopt;
    const auto field = [&](int i) { return qFromBigEndian<quint32>(bytes.constData() + 4 * i); };
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

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

// A press and release of the left button at a point of the screen, sent to
// the top window there as the X server sends a person's click.
bool ClickAt(const QString& display, QPoint point)
{
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> c(xcb_connect(display.toLocal8Bit().constData(), nullptr),
                                                                         &xcb_disconnect);
    if (xcb_connection_has_error(c.get()))
        return false;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c.get())).data;
    const ReplyPtr<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(c.get(), xcb_query_tree(c.get(), screen->root), nullptr), &std::free);
    if (!tree)
        return false;
    xcb_window_t target = XCB_NONE;
    QPoint origin;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    // Children come bottom first: the last that holds the point is on top.
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        const ReplyPtr<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(c.get(), xcb_get_window_attributes(c.get(), children[i]), nullptr), &std::free);
        const ReplyPtr<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(c.get(), xcb_get_geometry(c.get(), children[i]), nullptr),
                                                          &std::free);
        if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE)
            continue;
        if (QRect(geometry->x, geometry->y, geometry->width, geometry->height).contains(point)) {
            target = children[i];
            origin = QPoint(geometry->x, geometry->y);
        }
    }
    if (target == XCB_NONE)
        return false;
    for (const bool press : {true, false}) {
        xcb_button_press_event_t event{};
        event.response_type = press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE;
        event.detail = 1;
        event.root = screen->root;
        event.event = target;
        event.root_x = std::int16_t(point.x());
        event.root_y = std::int16_t(point.y());
        event.event_x = std::int16_t(point.x() - origin.x());
        event.event_y = std::int16_t(point.y() - origin.y());
        event.state = press ? 0 : XCB_BUTTON_MASK_1;
        event.same_screen = 1;
        xcb_send_event(c.get(), 0, target, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&event));
    }
    return xcb_flush(c.get()) > 0;
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

// The player started as a person starts it, on a real X server: its window
// is on the screen with the demo's own picture.
TEST(RealWindow, TheDemoIsOnARealXScreen)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const QString xwd = QStandardPaths::findExecutable(QStringLiteral("xwd"));
    if (xvfb.isEmpty() || xwd.isEmpty())
        GTEST_SKIP() << "Xvfb or xwd is not installed (Debian packages xvfb and x11-apps)";

    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString game = work.filePath(QStringLiteral("demo"));
    ASSERT_TRUE(CopyFolder(QStringLiteral(LOOM_DEMO_DIR), game));
    const QString settings = work.filePath(QStringLiteral("settings"));
    const QString shots = work.filePath(QStringLiteral("shots"));

    // What the demo's welcome window and its first frame look like, drawn
    // headless, and where the welcome window's Start picture lies.
    QRect start;
    {
        QFile script(work.filePath(QStringLiteral("welcome.txt")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("dump\nshot welcome.png\nclick Img(0)\nwait 500\nshot game.png\n");
        script.close();
        QProcess headless;
        headless.setWorkingDirectory(work.path());
        headless.start(QStringLiteral(LOOM_PLAYER), {QStringLiteral("--headless"), QStringLiteral("--script"), script.fileName(),
                                                      QStringLiteral("--shots"), shots, QStringLiteral("--screen"), QStringLiteral("1024x768"),
                                                      QStringLiteral("--dpi"), QStringLiteral("96"), QStringLiteral("--settings"), settings, game});
        ASSERT_TRUE(headless.waitForFinished(60000));
        ASSERT_EQ(headless.exitCode(), 0) << headless.readAllStandardError().toStdString();
        const QJsonObject dump = QJsonDocument::fromJson(headless.readAllStandardOutput().split('\n').value(0)).object();
        const QJsonObject img = dump[QStringLiteral("windows")][QStringLiteral("frmWelcome")][QStringLiteral("elements")][QStringLiteral("Img(0)")].toObject();
        start = QRect(img[QStringLiteral("left")].toInt() / 15, img[QStringLiteral("top")].toInt() / 15, img[QStringLiteral("width")].toInt() / 15,
                      img[QStringLiteral("height")].toInt() / 15);
        ASSERT_FALSE(start.isEmpty()) << "the dump gives no place for Img(0)";
    }
    const QImage reference(QDir(shots).filePath(QStringLiteral("welcome.png")));
    ASSERT_FALSE(reference.isNull());
    const QImage picture(QDir(shots).filePath(QStringLiteral("game.png")));
    ASSERT_EQ(picture.size(), QSize(1024, 768));

    // A free display number, told by the server itself.
    Child server;
    server.process.setWorkingDirectory(work.path());
    server.process.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                                QStringLiteral("1024x768x24"), QStringLiteral("-dpi"), QStringLiteral("96"), QStringLiteral("-nolisten"),
                                QStringLiteral("tcp")});
    ASSERT_TRUE(server.process.waitForStarted(10000));
    QByteArray number;
    while (!number.contains('\n') && server.process.waitForReadyRead(10000))
        number += server.process.readAllStandardOutput();
    ASSERT_TRUE(number.contains('\n')) << "Xvfb did not say its display: " << server.process.readAllStandardError().toStdString();
    const QString display = u':' + QString::fromLatin1(number.trimmed());
    const QPoint at((1024 - reference.width()) / 2, (768 - reference.height()) / 2);
    const QString shot = work.filePath(QStringLiteral("screen.xwd"));
    const auto screenshot = [&]() -> std::optional<QImage> {
        QProcess grab;
        grab.start(xwd, {QStringLiteral("-root"), QStringLiteral("-silent"), QStringLiteral("-display"), display, QStringLiteral("-out"), shot});
        if (!grab.waitForFinished(10000) || grab.exitCode() != 0)
            return std::nullopt;
        QFile file(shot);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return ReadXwd(file.readAll());
    };
    // The bare screen is not mistaken for the window.
    const std::optional<QImage> bare = screenshot();
    ASSERT_TRUE(bare) << "xwd gave no picture this test can read";
    ASSERT_EQ(bare->size(), QSize(1024, 768));
    EXPECT_LT(Match(*bare, reference, at), 0.5);
    EXPECT_LT(Match(*bare, picture, QPoint()), 0.5);

    Child player;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), settings);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    player.process.setProcessEnvironment(env);
    player.process.setWorkingDirectory(work.path());
    player.process.start(QStringLiteral(LOOM_PLAYER), {QStringLiteral("--mute"), game});
    ASSERT_TRUE(player.process.waitForStarted(10000));

    // The screen is read until it shows the picture expected or time runs out.
    const auto waitFor = [&](const QImage& expected, QPoint where, double enough) {
        double best = 0;
        for (int attempt = 0; attempt < 40 && best < enough; ++attempt) {
            if (player.process.state() != QProcess::Running)
                break;
            QThread::msleep(250);
            if (const std::optional<QImage> screen = screenshot())
                best = std::max(best, Match(*screen, expected, where));
        }
        return best;
    };
    // Without a window manager the welcome window sits where the player
    // centres it.
    ASSERT_GE(waitFor(reference, at, 0.97), 0.97) << "the demo's welcome window is not on the X screen: "
                                                   << player.process.readAllStandardError().toStdString();
    // Start: the game window fills the screen with the first frame (its
    // gull and lighthouse beam move, so not every pixel is the same).
    ASSERT_TRUE(ClickAt(display, at + start.center()));
    EXPECT_GE(waitFor(picture, QPoint(), 0.9), 0.9) << "the demo's first frame is not on the X screen";

    // The game was started from the command line: it is a game played before.
    QFile list(QDir(settings).filePath(QStringLiteral("loomplay/loomplay.ini")));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_TRUE(list.readAll().contains(QDir(game).absolutePath().toUtf8()));
}
