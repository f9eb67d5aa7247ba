#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

#include <optional>

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

    // What the demo's welcome window looks like, drawn headless.
    {
        QFile script(work.filePath(QStringLiteral("welcome.txt")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("shot welcome.png\n");
        script.close();
        QProcess headless;
        headless.setWorkingDirectory(work.path());
        headless.start(QStringLiteral(LOOM_PLAYER), {QStringLiteral("--headless"), QStringLiteral("--script"), script.fileName(),
                                                      QStringLiteral("--shots"), shots, QStringLiteral("--screen"), QStringLiteral("1024x768"),
                                                      QStringLiteral("--dpi"), QStringLiteral("96"), QStringLiteral("--settings"), settings, game});
        ASSERT_TRUE(headless.waitForFinished(60000));
        ASSERT_EQ(headless.exitCode(), 0) << headless.readAllStandardError().toStdString();
    }
    const QImage reference(QDir(shots).filePath(QStringLiteral("welcome.png")));
    ASSERT_FALSE(reference.isNull());

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

    // Without a window manager the welcome window sits where the player
    // centres it; the screen is read until it shows there or time runs out.
    double best = 0;
    for (int attempt = 0; attempt < 40 && best < 0.97; ++attempt) {
        ASSERT_EQ(player.process.state(), QProcess::Running) << player.process.readAllStandardError().toStdString();
        QThread::msleep(250);
        const std::optional<QImage> screen = screenshot();
        ASSERT_TRUE(screen) << "xwd gave no picture this test can read";
        best = std::max(best, Match(*screen, reference, at));
    }
    EXPECT_GE(best, 0.97) << "the demo's welcome window is not on the X screen";

    // The game was started from the command line: it is a game played before.
    QFile list(QDir(settings).filePath(QStringLiteral("loomplay/loomplay.ini")));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_TRUE(list.readAll().contains(QDir(game).absolutePath().toUtf8()));
}
