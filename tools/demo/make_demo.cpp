// Writes the demo game "The Lighthouse Keeper" into a folder: its settings,
// frames and pictures, all drawn here. Run: make_demo OUTPUT_DIR
#include "formats/quoted_field_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdio>

namespace {

QDir g_out;

bool save(const QString& relative, const QByteArray& bytes)
{
    const QString path = g_out.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "make_demo: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool savePicture(const QString& relative, const QImage& image, const char* format)
{
    const QString path = g_out.filePath(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, format)) {
        std::fprintf(stderr, "make_demo: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The shore at dusk: sky, sea, sand and the lighthouse on its rock.
QImage drawShore()
{
    QImage img(640, 480, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(28, 30, 80));
    sky.setColorAt(0.7, QColor(220, 120, 90));
    sky.setColorAt(1, QColor(250, 200, 120));
    p.fillRect(0, 0, 640, 300, sky);
    QLinearGradient sea(0, 300, 0, 400);
    sea.setColorAt(0, QColor(40, 80, 130));
    sea.setColorAt(1, QColor(20, 50, 90));
    p.fillRect(0, 300, 640, 100, sea);
    p.setPen(QPen(QColor(255, 220, 170, 120), 2));
    for (int i = 0; i < 14; ++i)
        p.drawLine(QPointF(60 + i * 40, 310 + (i % 4) * 20), QPointF(85 + i * 40, 310 + (i % 4) * 20));
    QPainterPath sand;
    sand.moveTo(0, 400);
    sand.cubicTo(200, 370, 420, 420, 640, 390);
    sand.lineTo(640, 480);
    sand.lineTo(0, 480);
    p.fillPath(sand, QColor(214, 190, 140));
    // Rock and tower.
    QPainterPath rock;
    rock.moveTo(430, 330);
    rock.cubicTo(470, 290, 560, 290, 600, 335);
    rock.lineTo(430, 335);
    p.fillPath(rock, QColor(70, 60, 60));
    QPainterPath tower;
    tower.moveTo(490, 300);
    tower.lineTo(540, 300);
    tower.lineTo(530, 140);
    tower.lineTo(500, 140);
    tower.closeSubpath();
    p.fillPath(tower, QColor(240, 235, 225));
    p.fillRect(QRectF(494, 250, 42, 14), QColor(190, 40, 40));
    p.fillRect(QRectF(497, 195, 36, 14), QColor(190, 40, 40));
    p.fillRect(QRectF(496, 118, 38, 22), QColor(60, 60, 70));
    QRadialGradient glow(515, 129, 60);
    glow.setColorAt(0, QColor(255, 240, 160, 200));
    glow.setColorAt(1, QColor(255, 240, 160, 0));
    p.setBrush(glow);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(515, 129), 60, 60);
    p.setBrush(QColor(240, 235, 225));
    p.drawEllipse(QPointF(120, 60), 18, 18);
    return img;
}

// A stone tile for the lighthouse stairs, repeated over the whole frame.
QImage drawStoneTile()
{
    QImage img(80, 40, QImage::Format_RGB32);
    img.fill(QColor(90, 84, 78));
    QPainter p(&img);
    p.setPen(QPen(QColor(60, 55, 50), 2));
    p.setBrush(QColor(128, 118, 106));
    p.drawRect(1, 1, 38, 18);
    p.drawRect(41, 1, 38, 18);
    p.drawRect(-19, 21, 38, 18);
    p.drawRect(21, 21, 38, 18);
    p.drawRect(61, 21, 38, 18);
    return img;
}

QByteArray general()
{
    formats::QuotedFieldWriter w;
    // Group 1: key, (unused), name, (unused), initial frame, version, size, author, e-mail, web site.
    w.string(QStringLiteral("LOOMPLAY-DEMO-LIGHTHOUSE")).string(QString()).string(QStringLiteral("The Lighthouse Keeper"))
        .number(0).string(QStringLiteral("Shore")).string(QStringLiteral("Version 1.0"))
        .number(640).number(480).string(QStringLiteral("The loomplay developers"))
        .string(QStringLiteral("demo@loomplay.invalid")).string(QStringLiteral("https://loomplay.invalid/demo")).endRecord();
    // Group 2: display switching offered.
    w.number(1).endRecord();
    // Group 3: three skipped fields, the scheme.
    w.number(0).number(0).number(0).string(QString()).endRecord();
    // Group 4: two skipped, single sound mode, hide Load, hide Save, one skipped.
    w.number(0).number(0).boolean(false).boolean(false).boolean(false).number(0).endRecord();
    // Group 5: the inventory bar, the resolution and the default cursor.
    w.number(0).number(0).number(10).number(10).boolean(true).boolean(true).boolean(true).boolean(true)
        .boolean(true).boolean(false).string(QStringLiteral("DEFAULT")).string(QStringLiteral("DEFAULT"))
        .number(0).number(0).number(0).string(QStringLiteral("default")).endRecord();
    return w.bytes();
}

struct Frame {
    int mode;
    QString background;
    bool tiled;
    double timerSeconds; // 0: no timer
    QString timerTarget;
};

QByteArray frameFile(const Frame& f)
{
    formats::QuotedFieldWriter w;
    w.number(f.mode).string(f.background).boolean(f.tiled).endRecord();
    // stop MIDI, MIDI file, timer, duration, target, video, MIDI after video
    w.boolean(false).string(QString()).boolean(f.timerSeconds > 0).number(f.timerSeconds).string(f.timerTarget)
        .string(QString()).boolean(false).endRecord();
    // silence channels, stop MP3, MP3 file
    w.boolean(false).boolean(false).string(QString()).endRecord();
    // four ignored fields, video in its rectangle and the rectangle, repeat MIDI
    w.number(0).number(0).number(0).boolean(false).boolean(false).number(0).number(0).number(0).number(0).endRecord();
    w.boolean(true).endRecord();
    return w.bytes();
}

QByteArray links(int areaCount)
{
    formats::QuotedFieldWriter w;
    w.number(areaCount).endRecord();
    return w.bytes();
}

QByteArray variables(const QStringList& names)
{
    formats::QuotedFieldWriter w;
    w.number(names.size()).endRecord();
    for (const QString& n : names)
        w.line(n);
    return w.bytes();
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo OUTPUT_DIR\n");
        return 2;
    }
    g_out = QDir(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(g_out.path());
    bool ok = true;
    ok &= save(QStringLiteral("Config/General"), general());
    ok &= save(QStringLiteral("Config/Variables"), variables({QStringLiteral("HasKey"), QStringLiteral("LampLit")}));
    // The shore: a stretched picture under its packaged name; after a while
    // the keeper walks up to the tower.
    ok &= savePicture(QStringLiteral("Frames/Shore.004"), drawShore(), "BMP");
    ok &= save(QStringLiteral("Frames/Shore.fme"), frameFile({1, QStringLiteral("Shore.bmp"), false, 4, QStringLiteral("Stairs")}));
    ok &= save(QStringLiteral("Frames/Shore.lks"), links(0));
    // The stairs: a tiled stone wall; the way back goes to the last frame.
    ok &= savePicture(QStringLiteral("Frames/stone.bmp"), drawStoneTile(), "BMP");
    ok &= save(QStringLiteral("Frames/Stairs.fme"), frameFile({1, QStringLiteral("stone.bmp"), true, 3, QStringLiteral("Lantern")}));
    // The lantern room: a plain night-blue colour (0x00BBGGRR).
    ok &= save(QStringLiteral("Frames/Lantern.fme"), frameFile({0, QString::number(0x503010), false, 0, QString()}));
    return ok ? 0 : 1;
}
