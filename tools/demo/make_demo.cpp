// Writes the demo game "The Lighthouse" into a folder: its settings,
// frames and pictures, all drawn here. Run: make_demo OUTPUT_DIR
#include "demo/authoring.h"
#include "demo/gif_writer.h"
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

#include <QBuffer>

#include <cstdio>
#include <array>
#include <map>
#include <variant>

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
    w.string(QStringLiteral("LOOMPLAY-DEMO-LIGHTHOUSE")).string(QString()).string(QStringLiteral("The Lighthouse"))
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

// A small pointing hand, the demo's cursor.
QImage drawHand()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(QColor(255, 236, 200));
    QPainterPath hand;
    hand.addRoundedRect(QRectF(9, 1, 6, 16), 3, 3);
    hand.addRoundedRect(QRectF(6, 12, 18, 14), 5, 5);
    p.drawPath(hand.simplified());
    return img;
}

QImage drawShell()
{
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(QColor(214, 190, 140));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(250, 200, 190));
    p.setPen(QPen(QColor(150, 90, 80), 1.5));
    QPainterPath shell;
    shell.moveTo(20, 28);
    shell.cubicTo(0, 20, 4, 2, 20, 2);
    shell.cubicTo(36, 2, 40, 20, 20, 28);
    p.drawPath(shell);
    for (int i = -2; i <= 2; ++i)
        p.drawLine(QPointF(20, 27), QPointF(20 + i * 6, 5));
    return img;
}

// A gull that flaps its wings: four frames.
std::vector<QImage> drawGull()
{
    std::vector<QImage> frames;
    for (int f = 0; f < 4; ++f) {
        QImage img(48, 24, QImage::Format_RGB32);
        img.fill(QColor(222, 130, 100));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(250, 250, 250), 3, Qt::SolidLine, Qt::RoundCap));
        const double lift = (f == 0 ? -8 : f == 1 ? -2 : f == 2 ? 6 : -2);
        QPainterPath wings;
        wings.moveTo(4, 12 + lift);
        wings.quadTo(14, 4 + lift, 24, 14);
        wings.quadTo(34, 4 + lift, 44, 12 + lift);
        p.drawPath(wings);
        frames.push_back(img);
    }
    return frames;
}

QImage drawArrow(bool up)
{
    QImage img(64, 64, QImage::Format_RGB32);
    img.fill(QColor(90, 84, 78));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(240, 220, 160));
    p.setPen(QPen(QColor(60, 40, 20), 2));
    QPolygonF arrow;
    if (up)
        arrow << QPointF(32, 6) << QPointF(58, 34) << QPointF(42, 34) << QPointF(42, 58) << QPointF(22, 58) << QPointF(22, 34) << QPointF(6, 34);
    else
        arrow << QPointF(32, 58) << QPointF(58, 30) << QPointF(42, 30) << QPointF(42, 6) << QPointF(22, 6) << QPointF(22, 30) << QPointF(6, 30);
    p.drawPolygon(arrow);
    return img;
}

QImage drawLamp(bool lit)
{
    QImage img(120, 160, QImage::Format_RGB32);
    img.fill(QColor(0x10, 0x30, 0x50));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (lit) {
        QRadialGradient glow(60, 70, 60);
        glow.setColorAt(0, QColor(255, 240, 150));
        glow.setColorAt(1, QColor(0x10, 0x30, 0x50));
        p.setBrush(glow);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(60, 70), 60, 60);
    }
    p.setPen(QPen(QColor(30, 30, 30), 3));
    p.setBrush(lit ? QColor(255, 250, 210, 200) : QColor(120, 140, 160, 200));
    p.drawRoundedRect(QRectF(30, 30, 60, 80), 10, 10);
    p.setBrush(QColor(60, 60, 70));
    p.drawRect(QRectF(25, 110, 70, 20));
    p.drawRect(QRectF(40, 15, 40, 15));
    if (lit) {
        p.setBrush(QColor(255, 160, 40));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(60, 75), 8, 16);
    }
    return img;
}

QByteArray pickFile(int speed)
{
    formats::QuotedFieldWriter w;
    w.boolean(false).string(QString()).number(0).number(0).number(speed).endRecord();
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
    ok &= save(QStringLiteral("Config/Variables"), variables({QStringLiteral("HasShell"), QStringLiteral("LampLit")}));
    ok &= save(QStringLiteral("Icons/hand.003"), demo::CursorFile(drawHand(), 12, 1));

    // The shore: a stretched picture under its packaged name, a shell to
    // pick up (it disappears for good), a gull in the sky and the door of
    // the lighthouse, an invisible hot spot.
    ok &= savePicture(QStringLiteral("Frames/Shore.004"), drawShore(), "BMP");
    ok &= save(QStringLiteral("Frames/Shore.fme"), frameFile({1, QStringLiteral("Shore.bmp"), false, 0, QString()}));
    ok &= save(QStringLiteral("Frames/Shore.lks"), links(3));
    ok &= save(QStringLiteral("Areas/Shore/1a.dat"), demo::AreaFile(7350, 3750, 1050, 900, false, QString(), false, QStringLiteral("hand.cur")));
    ok &= save(QStringLiteral("Areas/Shore/1b.dat"), demo::ActionRecord{{{12, 1}, {13, QStringLiteral("Stairs")}}}.bytes());
    ok &= savePicture(QStringLiteral("Areas/shell.bmp"), drawShell(), "BMP");
    ok &= save(QStringLiteral("Areas/Shore/2a.dat"), demo::AreaFile(2970, 6270, 660, 510, false, QStringLiteral("shell.bmp"), false, QStringLiteral("hand.cur")));
    ok &= save(QStringLiteral("Areas/Shore/2b.dat"), demo::ActionRecord{{{1, 1}, {2, QStringLiteral("HasShell")}, {4, 1}, {10, true}}}.bytes());
    ok &= save(QStringLiteral("Areas/gull.gif"), demo::EncodeAnimatedGif(drawGull(), 15));
    ok &= save(QStringLiteral("Areas/Shore/3a.dat"), demo::AreaFile(3570, 1170, 780, 420, true, QStringLiteral("gull.gif"), false, QString()));
    ok &= save(QStringLiteral("Areas/Shore/3c.dat"), pickFile(50));

    // The stairs: a tiled stone wall, a way up and a way back.
    ok &= savePicture(QStringLiteral("Frames/stone.bmp"), drawStoneTile(), "BMP");
    ok &= save(QStringLiteral("Frames/Stairs.fme"), frameFile({1, QStringLiteral("stone.bmp"), true, 0, QString()}));
    ok &= save(QStringLiteral("Frames/Stairs.lks"), links(2));
    ok &= savePicture(QStringLiteral("Areas/up.bmp"), drawArrow(true), "BMP");
    ok &= savePicture(QStringLiteral("Areas/down.004"), drawArrow(false), "BMP");
    ok &= save(QStringLiteral("Areas/Stairs/1a.dat"), demo::AreaFile(4350, 1200, 1020, 1020, false, QStringLiteral("up.bmp"), false, QStringLiteral("hand.cur")));
    ok &= save(QStringLiteral("Areas/Stairs/1b.dat"), demo::ActionRecord{{{12, 1}, {13, QStringLiteral("Lantern")}}}.bytes());
    ok &= save(QStringLiteral("Areas/Stairs/2a.dat"), demo::AreaFile(4350, 5100, 1020, 1020, false, QStringLiteral("down.bmp"), false, QStringLiteral("hand.cur")));
    ok &= save(QStringLiteral("Areas/Stairs/2b.dat"), demo::ActionRecord{{{32, 1}}}.bytes());

    // The lantern room: a plain night-blue colour (0x00BBGGRR) and the lamp,
    // dark until the keeper lights it; then the night's work is done.
    ok &= save(QStringLiteral("Frames/Lantern.fme"), frameFile({0, QString::number(0x503010), false, 0, QString()}));
    ok &= save(QStringLiteral("Frames/Lantern.lks"), links(3));
    ok &= savePicture(QStringLiteral("Areas/lamp.bmp"), drawLamp(false), "BMP");
    ok &= savePicture(QStringLiteral("Areas/lamplit.bmp"), drawLamp(true), "BMP");
    ok &= save(QStringLiteral("Areas/Lantern/1a.dat"), demo::AreaFile(3840, 2340, 1860, 2460, false, QStringLiteral("lamp.bmp"), true, QStringLiteral("hand.cur"), {QStringLiteral("LampLit")}));
    ok &= save(QStringLiteral("Areas/Lantern/1b.dat"), demo::ActionRecord{{{40, 1}}, {QStringList(), QStringList(), QStringList{QStringLiteral("LampLit")}}}.bytes());
    ok &= save(QStringLiteral("Areas/Lantern/2a.dat"), demo::AreaFile(3840, 2340, 1860, 2460, false, QStringLiteral("lamplit.bmp"), true, QString(), {}, {QStringLiteral("LampLit")}));
    ok &= save(QStringLiteral("Areas/Lantern/3a.dat"), demo::AreaFile(7800, 5700, 1800, 1500, false, QString(), false, QStringLiteral("hand.cur"), {}, {QStringLiteral("LampLit")}));
    ok &= save(QStringLiteral("Areas/Lantern/3b.dat"), demo::ActionRecord{{{11, true}}}.bytes());
    return ok ? 0 : 1;
}
