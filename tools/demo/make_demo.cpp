// Writes the demo game "The Lighthouse" into a folder: its settings,
// frames and pictures, all drawn here. Run: make_demo OUTPUT_DIR
#include "demo/authoring.h"
#include "demo/gif_writer.h"
#include "demo/metafile_writer.h"
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
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
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
    // Key, (unused), name, (unused), initial frame, version, size, author, e-mail, web site.
    w.string(QStringLiteral("LOOMPLAY-DEMO-LIGHTHOUSE")).string(QString()).string(QStringLiteral("The Lighthouse"))
        .number(0).string(QStringLiteral("Shore")).string(QStringLiteral("Version 1.0"))
        .number(640).number(480).string(QStringLiteral("The loomplay developers"))
        .string(QStringLiteral("demo@loomplay.invalid")).string(QStringLiteral("https://loomplay.invalid/demo")).endRecord();
    // Display switching offered.
    w.number(1).endRecord();
    // Three skipped fields, the scheme.
    w.number(0).number(0).number(0).string(QStringLiteral("Harbour")).endRecord();
    // Two skipped, single sound mode, hide Load, hide Save, one skipped.
    w.number(0).number(0).boolean(false).boolean(false).boolean(false).number(0).endRecord();
    // The inventory bar, the resolution and the default cursor.
    w.number(0).number(0).number(10).number(10).boolean(true).boolean(true).boolean(true).boolean(true)
        .boolean(true).boolean(true).string(QStringLiteral("tab.bmp")).string(QStringLiteral("bar.bmp"))
        .number(0).number(0).number(0).string(QStringLiteral("default")).endRecord();
    return w.bytes();
}

struct Frame {
    int mode;
    QString background;
    bool tiled;
    double timerSeconds; // 0: no timer
    QString timerTarget;
    QString midi = QString();
    QString video = QString();
    QString mp3 = QString();
    // A video in its own rectangle (pixels) instead of over the picture.
    QRect videoRect = QRect();
};

QByteArray frameFile(const Frame& f)
{
    formats::QuotedFieldWriter w;
    w.number(f.mode).string(f.background).boolean(f.tiled).endRecord();
    // stop MIDI, MIDI file, timer, duration, target, video, MIDI after video
    w.boolean(!f.midi.isEmpty()).string(f.midi).boolean(f.timerSeconds > 0).number(f.timerSeconds).string(f.timerTarget)
        .string(f.video).boolean(false).endRecord();
    // silence channels, stop MP3, MP3 file
    w.boolean(false).boolean(true).string(f.mp3).endRecord();
    // four ignored fields, video in its rectangle and the rectangle, repeat MIDI
    const QRect& r = f.videoRect;
    w.number(0).number(0).number(0).boolean(false).boolean(!r.isNull()).number(r.left()).number(r.top()).number(r.width()).number(r.height()).endRecord();
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

// A gull that flaps its wings: four frames.
std::vector<QImage> drawGull()
{
    std::vector<QImage> frames;
    for (int f = 0; f < 4; ++f) {
        QImage img(48, 24, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
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

// A pick record: whether the area is an object to pick up, its name, two
// unused fields and the animation speed.
QByteArray pickFile(bool pick, const QString& object, int speed = 50)
{
    formats::QuotedFieldWriter w;
    w.number(pick ? 1 : 0).string(object).number(0).number(0).number(speed).endRecord();
    return w.bytes();
}

// A frame text: caption, place (twips), bold, italic, font, size, strike,
// underline, colour (0x00BBGGRR).
QByteArray textFile(const QString& caption, int left, int top, bool bold, bool italic, const QString& font, double size,
                    bool underline, int colour)
{
    formats::QuotedFieldWriter w;
    w.string(caption).number(left).number(top).boolean(bold).boolean(italic).string(font).number(size).boolean(false)
        .boolean(underline).number(colour).endRecord();
    return w.bytes();
}

QByteArray objectFile(const QString& picture)
{
    formats::QuotedFieldWriter w;
    w.line(picture);
    return w.bytes();
}

// A combination record: remove the dragged, remove the target, add a new one.
QByteArray combination(bool removeDragged, bool removeTarget, const QString& newObject)
{
    formats::QuotedFieldWriter w;
    w.number(removeDragged ? 1 : 0).number(removeTarget ? 1 : 0).number(newObject.isEmpty() ? 0 : 1).string(newObject).endRecord();
    return w.bytes();
}

// Objects are drawn on the colour of the inventory bar they sit in.
const QColor kBarColour(70, 52, 36);

// Objects are drawn on the bar's colour; pictures that lie on a frame are
// drawn on a transparent background and saved as GIFs.
QImage objectCanvas(int w = 32, int h = 32, QColor background = kBarColour)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(background);
    return img;
}

bool saveStill(const QString& relative, const QImage& image)
{
    return save(relative, demo::EncodeAnimatedGif({image}, 0));
}

QImage drawRope(QColor background = kBarColour, int w = 32, int h = 32)
{
    QImage img = objectCanvas(w, h, background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 170, 110), 3));
    p.setBrush(Qt::NoBrush);
    const QPointF c(w / 2.0, h / 2.0);
    for (int r = 3; r <= std::min(w, h) / 2 - 2; r += 4)
        p.drawEllipse(c, r * w / double(std::min(w, h)), r * h / double(std::min(w, h)));
    return img;
}

QImage drawHook(QColor background = kBarColour)
{
    QImage img = objectCanvas(32, 32, background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 150, 160), 3.5, Qt::SolidLine, Qt::RoundCap));
    QPainterPath hook;
    hook.moveTo(16, 3);
    hook.lineTo(16, 20);
    hook.cubicTo(16, 30, 5, 30, 6, 20);
    p.drawPath(hook);
    p.drawLine(QPointF(12, 4), QPointF(20, 4));
    return img;
}

QImage drawGrapple()
{
    QImage img = objectCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 170, 110), 2.5));
    p.drawEllipse(QPointF(10, 22), 7, 7);
    p.drawLine(QPointF(14, 17), QPointF(20, 11));
    p.setPen(QPen(QColor(170, 170, 180), 3, Qt::SolidLine, Qt::RoundCap));
    QPainterPath hook;
    hook.moveTo(20, 11);
    hook.lineTo(27, 4);
    hook.moveTo(20, 11);
    hook.quadTo(29, 14, 28, 22);
    p.drawPath(hook);
    return img;
}

QImage drawOilCan(QColor background = kBarColour)
{
    QImage img = objectCanvas(32, 32, background);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 30, 30), 1.5));
    p.setBrush(QColor(200, 60, 40));
    p.drawRoundedRect(QRectF(7, 10, 16, 18), 3, 3);
    p.setBrush(QColor(230, 200, 80));
    p.drawRect(QRectF(12, 5, 6, 5));
    p.drawLine(QPointF(23, 14), QPointF(29, 8));
    return img;
}

QImage drawShelf(bool withCan)
{
    QImage img(120, 80, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(4, 64, 112, 10), QColor(110, 80, 50));
    p.fillRect(QRectF(10, 74, 6, 6), QColor(80, 60, 40));
    p.fillRect(QRectF(104, 74, 6, 6), QColor(80, 60, 40));
    if (withCan)
        p.drawImage(QPointF(44, 32), drawOilCan(Qt::transparent));
    return img;
}

QImage drawDawn()
{
    QImage img(320, 240, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 150);
    sky.setColorAt(0, QColor(110, 160, 220));
    sky.setColorAt(1, QColor(255, 210, 160));
    p.fillRect(0, 0, 320, 150, sky);
    QRadialGradient sun(160, 150, 40);
    sun.setColorAt(0, QColor(255, 250, 200));
    sun.setColorAt(1, QColor(255, 200, 120, 0));
    p.setBrush(sun);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(160, 150), 40, 40);
    p.fillRect(0, 150, 320, 90, QColor(60, 110, 160));
    // Two ships safely past the rocks.
    p.setBrush(QColor(60, 40, 30));
    for (double x : {70.0, 230.0}) {
        QPolygonF hull;
        hull << QPointF(x - 18, 160) << QPointF(x + 18, 160) << QPointF(x + 12, 170) << QPointF(x - 12, 170);
        p.drawPolygon(hull);
        p.setBrush(QColor(245, 240, 225));
        QPolygonF sail;
        sail << QPointF(x, 128) << QPointF(x, 158) << QPointF(x + 14, 158);
        p.drawPolygon(sail);
        p.setBrush(QColor(60, 40, 30));
    }
    return img;
}

QImage drawTab()
{
    QImage img(90, 24, QImage::Format_RGB32);
    img.fill(QColor(120, 86, 52));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(240, 214, 160), 1));
    p.drawRect(QRectF(0.5, -1, 89, 24.5));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(14);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QColor(250, 236, 200));
    p.drawText(QRectF(0, 0, 90, 22), Qt::AlignCenter, QStringLiteral("Satchel"));
    return img;
}

QImage drawBarBackground()
{
    QImage img(640, 52, QImage::Format_RGB32);
    img.fill(kBarColour);
    QPainter p(&img);
    p.setPen(QPen(QColor(90, 68, 46), 1));
    for (int y = 4; y < 52; y += 6)
        p.drawLine(0, y, 640, y + ((y / 6) % 2 ? 2 : -2));
    p.setPen(QPen(QColor(160, 120, 70), 2));
    p.drawLine(0, 51, 640, 51);
    return img;
}

// The harbour scheme of the welcome window: three button plaques, a tiled
// background of waves, its colours and the alternate logo.
QImage drawPlaque(const QString& text)
{
    QImage img(180, 30, QImage::Format_RGB32);
    img.fill(QColor(120, 86, 52));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(240, 214, 160), 2));
    p.drawRect(QRectF(1, 1, 178, 28));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(252, 240, 210));
    p.drawText(QRectF(0, 0, 180, 30), Qt::AlignCenter, text);
    return img;
}

QImage drawWaves()
{
    QImage img(40, 20, QImage::Format_RGB32);
    img.fill(QColor(14, 34, 60));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 62, 100), 1.5));
    QPainterPath wave;
    wave.moveTo(0, 12);
    wave.cubicTo(10, 4, 10, 4, 20, 12);
    wave.cubicTo(30, 20, 30, 20, 40, 12);
    p.drawPath(wave);
    return img;
}

QByteArray schemeFile()
{
    formats::QuotedFieldWriter w;
    w.number(0).number(0).number(0).endRecord();
    w.number(4).string(QStringLiteral("start.bmp")).string(QStringLiteral("load.bmp")).string(QStringLiteral("exit.emf"))
        .string(QStringLiteral("waves.bmp")).endRecord();
    // Version 4: window, name, text and button colours (0x00BBGGRR).
    w.number(4).number(0x3C220E).number(0xA0DCF0).number(0xC8E6FA).number(0xD2F0FC).endRecord();
    // Three skipped fields and hide-name; one skipped field, logo variant and place.
    w.number(0).number(0).number(0).number(0).endRecord();
    w.number(0).number(1).boolean(true).endRecord();
    return w.bytes();
}

// Sound, synthesised: 16-bit mono PCM at 22050 Hz in a WAV file.
// The sea: noise, smoothed, swelling and ebbing; it loops without a seam
// because it starts and ends quiet.
std::vector<qint16> seaSound()
{
    std::vector<qint16> out(22050 * 3);
    quint32 seed = 12345;
    double smooth = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = ((seed >> 8) & 0xFFFF) / 32768.0 - 1.0;
        smooth += (noise - smooth) * 0.08;
        const double swell = std::sin(M_PI * i / out.size());
        out[i] = static_cast<qint16>(smooth * swell * 9000);
    }
    return out;
}

// A chime: two bell tones fading out.
std::vector<qint16> chimeSound()
{
    std::vector<qint16> out(22050 * 6 / 10);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = i / 22050.0;
        const double v = (std::sin(2 * M_PI * 880 * t) + 0.5 * std::sin(2 * M_PI * 1320 * t)) * std::exp(-5 * t);
        out[i] = static_cast<qint16>(v * 9000);
    }
    return out;
}

// Morning: a slow rising arpeggio, for the MP3 of the dawn.
std::vector<qint16> morningSound()
{
    std::vector<qint16> out(22050 * 4);
    const double notes[] = {261.63, 329.63, 392.0, 523.25};
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = i / 22050.0;
        const int n = std::min(3, static_cast<int>(t));
        const double local = t - n;
        out[i] = static_cast<qint16>(std::sin(2 * M_PI * notes[n] * t) * std::exp(-1.5 * local) * 8000);
    }
    return out;
}

// A Standard MIDI File of one track: a slow tune for the lantern room.
QByteArray midiFile()
{
    // A flute, 600,000 microseconds a beat.
    return demo::MidiFile({69, 72, 76, 74, 72, 69, 67, 69}, 600000, 73);
}

// A frame's or an action's channel file: channel 0 stops what it played
// and plays the wave.
QByteArray channelFile(const QString& wave, bool loop)
{
    return demo::ChannelFile({{.stop = true, .wave = wave, .loop = loop ? 1 : 0}});
}

// Runs ffmpeg to encode what Qt cannot: an MP3 and an old-codec AVI.
bool ffmpeg(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("ffmpeg"), QStringList{QStringLiteral("-y"), QStringLiteral("-loglevel"), QStringLiteral("error")} + arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0) {
        std::fprintf(stderr, "make_demo: ffmpeg failed (is Debian's ffmpeg installed?): %s\n", process.readAllStandardError().constData());
        return false;
    }
    return true;
}

// The cut-scene: the lighthouse beam sweeping the sea, 40 frames.
bool makeBeamVideo(const QString& target)
{
    QTemporaryDir work;
    for (int f = 0; f < 40; ++f) {
        QImage img(320, 240, QImage::Format_RGB32);
        img.fill(QColor(10, 20, 40));
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(0, 150, 320, 90, QColor(20, 40, 70));
        p.fillRect(QRectF(200, 60, 16, 90), QColor(230, 225, 215));
        const double angle = -60 + f * 3.0;
        p.translate(208, 66);
        p.rotate(angle);
        QLinearGradient beam(0, 0, 300, 0);
        beam.setColorAt(0, QColor(255, 240, 170, 230));
        beam.setColorAt(1, QColor(255, 240, 170, 0));
        p.setBrush(beam);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF{QPointF(0, 0), QPointF(300, -30), QPointF(300, 30)});
        p.end();
        if (!img.save(work.filePath(QStringLiteral("f%1.png").arg(f, 3, 10, QChar(u'0')))))
            return false;
    }
    // Its sound track: the sea, cut to the two seconds of the pictures.
    QFile sound(work.filePath(QStringLiteral("sea.wav")));
    if (!sound.open(QIODevice::WriteOnly))
        return false;
    sound.write(demo::WavFile(seaSound()));
    sound.close();
    return ffmpeg({QStringLiteral("-framerate"), QStringLiteral("20"), QStringLiteral("-i"), work.filePath(QStringLiteral("f%03d.png")),
                   QStringLiteral("-i"), work.filePath(QStringLiteral("sea.wav")), QStringLiteral("-c:v"), QStringLiteral("msvideo1"),
                   QStringLiteral("-c:a"), QStringLiteral("pcm_u8"), QStringLiteral("-t"), QStringLiteral("2"), target});
}

// Metafile pictures: the lantern room's walls (WMF), the oil can (EMF),
// the hint in the sky (WMF) and the welcome window's Exit plaque (EMF).
bool saveLanternWalls(const QString& relative)
{
    MetafileWriter w(MetafileWriter::Kind::Wmf, QSize(640, 480), g_out.filePath(relative));
    w.setNoPen();
    w.setBrush(QColor(0x10, 0x30, 0x50));
    w.rectangle(QRect(0, 0, 640, 480));
    // Courses of stone, each joint half a block from the one below.
    w.setPen(QColor(0x1c, 0x44, 0x6c), 2);
    for (int y = 40; y < 400; y += 40) {
        w.polyline({QPoint(0, y), QPoint(640, y)});
        for (int x = (y / 40) % 2 ? 0 : 40; x < 640; x += 80)
            w.polyline({QPoint(x, y), QPoint(x, y + 40)});
    }
    w.setBrush(QColor(0x0a, 0x1c, 0x2e));
    w.rectangle(QRect(0, 400, 640, 80));
    // The niche the lamp stands in.
    w.setPen(QColor(0x0a, 0x1c, 0x2e), 4);
    w.setBrush(QColor(0x10, 0x30, 0x50));
    w.rectangle(QRect(252, 150, 136, 176));
    // A round window on the night.
    w.setPen(QColor(0x6c, 0x5a, 0x40), 6);
    w.setBrush(QColor(0x08, 0x0c, 0x22));
    w.ellipse(QRect(80, 70, 120, 120));
    w.setNoBrush();
    w.polyline({QPoint(140, 70), QPoint(140, 190)});
    w.polyline({QPoint(80, 130), QPoint(200, 130)});
    return w.finish();
}

bool saveOilCan(const QString& relative)
{
    MetafileWriter w(MetafileWriter::Kind::Emf, QSize(32, 32), g_out.filePath(relative));
    w.setPen(QColor(30, 30, 30), 1);
    w.setBrush(QColor(200, 60, 40));
    w.roundRect(QRect(7, 10, 16, 18), QSize(6, 6));
    w.setBrush(QColor(230, 200, 80));
    w.rectangle(QRect(12, 5, 6, 5));
    w.setPen(QColor(30, 30, 30), 2);
    w.polyline({QPoint(23, 14), QPoint(29, 8)});
    return w.finish();
}

bool saveHint(const QString& relative)
{
    MetafileWriter w(MetafileWriter::Kind::Wmf, QSize(300, 24), g_out.filePath(relative));
    w.setNoPen();
    w.setBrush(QColor(40, 30, 70));
    w.rectangle(QRect(0, 0, 300, 24));
    w.setTextColor(QColor(250, 240, 200));
    w.text(QPoint(22, 4), QStringLiteral("Hint: a rope and a hook make a grapple."), 14);
    return w.finish();
}

bool savePlaque(const QString& relative, const QString& text)
{
    MetafileWriter w(MetafileWriter::Kind::Emf, QSize(180, 30), g_out.filePath(relative));
    w.setPen(QColor(240, 214, 160), 2);
    w.setBrush(QColor(120, 86, 52));
    w.rectangle(QRect(1, 1, 178, 28));
    w.setTextColor(QColor(252, 240, 210));
    w.text(QPoint(72, 5), text, 18, QStringLiteral("Times New Roman"));
    return w.finish();
}

QByteArray textsFile()
{
    // The long built-in words ("Start New Game", "Load Game..." ...).
    formats::QuotedFieldWriter w;
    w.number(1).endRecord();
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
    using demo::ActionRecord;
    using demo::AreaFile;
    const QString hand = QStringLiteral("hand.cur");
    ok &= save(QStringLiteral("Config/General"), general());
    ok &= save(QStringLiteral("Config/Texts"), textsFile());
    ok &= save(QStringLiteral("Schemes/Harbour/Scheme.txt"), schemeFile());
    ok &= savePicture(QStringLiteral("Schemes/Harbour/start.bmp"), drawPlaque(QStringLiteral("New Game")), "BMP");
    ok &= savePicture(QStringLiteral("Schemes/Harbour/load.bmp"), drawPlaque(QStringLiteral("Load Game")), "BMP");
    ok &= savePlaque(QStringLiteral("Schemes/Harbour/exit.emf"), QStringLiteral("Exit"));
    ok &= savePicture(QStringLiteral("Schemes/Harbour/waves.bmp"), drawWaves(), "BMP");
    ok &= save(QStringLiteral("Config/Variables"),
               variables({QStringLiteral("Hint"), QStringLiteral("GotOil"), QStringLiteral("LampLit"), QStringLiteral("Dry")}));
    ok &= save(QStringLiteral("Icons/hand.003"), demo::CursorFile(drawHand(), 12, 1));
    ok &= savePicture(QStringLiteral("Inventory/tab.bmp"), drawTab(), "BMP");
    ok &= savePicture(QStringLiteral("Inventory/bar.bmp"), drawBarBackground(), "BMP");

    // The objects, their pictures in the Areas folder, and the combination
    // of rope and hook (either way round) into a grapple.
    ok &= savePicture(QStringLiteral("Areas/rope.bmp"), drawRope(), "BMP");
    ok &= savePicture(QStringLiteral("Areas/hook.bmp"), drawHook(), "BMP");
    ok &= savePicture(QStringLiteral("Areas/grapple.bmp"), drawGrapple(), "BMP");
    ok &= saveOilCan(QStringLiteral("Areas/oil.008"));
    ok &= save(QStringLiteral("Areas/Rope.obj"), objectFile(QStringLiteral("rope.bmp")));
    ok &= save(QStringLiteral("Areas/Hook.obj"), objectFile(QStringLiteral("hook.bmp")));
    ok &= save(QStringLiteral("Areas/Grapple.obj"), objectFile(QStringLiteral("grapple.bmp")));
    ok &= save(QStringLiteral("Areas/Oil.obj"), objectFile(QStringLiteral("oil.emf")));
    ok &= save(QStringLiteral("Areas/Rope_on_Hook.drg"), combination(true, true, QStringLiteral("Grapple")));
    ok &= save(QStringLiteral("Areas/Hook_on_Rope.drg"), combination(true, true, QStringLiteral("Grapple")));

    // The shore: a stretched picture under its packaged name, a rope and a
    // hook to pick up (each gone for good once taken), a gull in the sky, the
    // moon that toggles a hint, and the lighthouse door, an invisible hot spot.
    ok &= savePicture(QStringLiteral("Frames/Shore.004"), drawShore(), "BMP");
    ok &= save(QStringLiteral("Frames/Shore.fme"), frameFile({1, QStringLiteral("Shore.bmp"), false, 0, QString()}));
    // The sea on channel 0, looping; a chime when something is picked up.
    ok &= save(QStringLiteral("Areas/sea.wav"), demo::WavFile(seaSound()));
    // The single sound of an action is opened by the name it is given, never
    // a packaged one, so the chime keeps its usual name.
    ok &= save(QStringLiteral("Areas/chime.wav"), demo::WavFile(chimeSound()));
    ok &= save(QStringLiteral("Frames/Shore.chn"), channelFile(QStringLiteral("sea.wav"), true));
    ok &= save(QStringLiteral("Frames/Shore.lks"), links(6));
    ok &= save(QStringLiteral("Areas/Shore/title.lbl"),
               textFile(QStringLiteral("The shore at dusk"), 300, 150, false, true, QStringLiteral("Times New Roman"), 22, false, 0xF0F8FF));
    ok &= save(QStringLiteral("Areas/Shore/1a.dat"), AreaFile(7350, 3750, 1050, 900, false, QString(), false, hand));
    ok &= save(QStringLiteral("Areas/Shore/1b.dat"), ActionRecord{{{12, 1}, {13, QStringLiteral("Stairs")}}}.bytes());
    ok &= saveStill(QStringLiteral("Areas/rope_sand.gif"), drawRope(Qt::transparent, 48, 28));
    ok &= save(QStringLiteral("Areas/Shore/2a.dat"), AreaFile(2970, 6270, 780, 480, false, QStringLiteral("rope_sand.gif"), false, hand));
    ok &= save(QStringLiteral("Areas/Shore/2b.dat"),
               ActionRecord{{{10, true}, {6, 1}, {7, QStringLiteral("You pick up an old rope.")}, {36, true}, {8, 1}, {9, QStringLiteral("chime.wav")}}}.bytes());
    ok &= save(QStringLiteral("Areas/Shore/2c.dat"), pickFile(true, QStringLiteral("Rope")));
    ok &= save(QStringLiteral("Areas/gull.gif"), demo::EncodeAnimatedGif(drawGull(), 15));
    ok &= save(QStringLiteral("Areas/Shore/3a.dat"), AreaFile(3570, 1170, 780, 420, true, QStringLiteral("gull.gif"), false, QString()));
    ok &= save(QStringLiteral("Areas/Shore/3c.dat"), pickFile(false, QString(), 50));
    ok &= saveStill(QStringLiteral("Areas/hook_rock.gif"), drawHook(Qt::transparent));
    ok &= save(QStringLiteral("Areas/Shore/4a.dat"), AreaFile(8100, 4380, 540, 540, false, QStringLiteral("hook_rock.gif"), false, hand));
    ok &= save(QStringLiteral("Areas/Shore/4b.dat"),
               ActionRecord{{{10, true}, {6, 1}, {7, QStringLiteral("A rusty hook, wedged in the rock. It comes loose.")}, {36, false}}}.bytes());
    ok &= save(QStringLiteral("Areas/Shore/4c.dat"), pickFile(true, QStringLiteral("Hook")));
    // The moon toggles a hint in the sky (a single variable, toggled).
    ok &= save(QStringLiteral("Areas/Shore/5a.dat"), AreaFile(1530, 630, 660, 660, false, QString(), false, hand));
    // It rings a bell once (MIDI that does not repeat) and chimes on
    // channel 1 from the area's own channel file.
    ok &= save(QStringLiteral("Areas/Shore/5b.dat"),
               ActionRecord{{{1, 1}, {2, QStringLiteral("Hint")}, {5, 1}, {25, 1}, {26, QStringLiteral("bell.mid")}, {42, false}}}.bytes());
    ok &= save(QStringLiteral("Frames/bell.mid"), demo::MidiFile({84, 79}, 400000, 14));
    ok &= save(QStringLiteral("Areas/Shore/5d.dat"), demo::ChannelFile({{.play = false}, {.wave = QStringLiteral("chime.wav")}}));
    ok &= saveHint(QStringLiteral("Areas/hint.007"));
    ok &= save(QStringLiteral("Areas/Shore/6a.dat"),
               AreaFile(1470, 3240, 4560, 420, false, QStringLiteral("hint.wmf"), false, QString(), {}, {QStringLiteral("Hint")}));

    // The stairs: a tiled stone wall, a way up and a way back.
    ok &= savePicture(QStringLiteral("Frames/stone.bmp"), drawStoneTile(), "BMP");
    ok &= save(QStringLiteral("Frames/Stairs.fme"), frameFile({1, QStringLiteral("stone.bmp"), true, 0, QString()}));
    ok &= save(QStringLiteral("Frames/Stairs.lks"), links(2));
    // Inside the tower the sea on channel 0 falls silent.
    ok &= save(QStringLiteral("Frames/Stairs.chn"), demo::ChannelFile({{.stop = true, .play = false}}));
    ok &= save(QStringLiteral("Areas/Stairs/steps.lbl"),
               textFile(QStringLiteral("Ninety-nine steps"), 5400, 3300, true, false, QStringLiteral("Arial"), 16, true, 0xA0E0FF));
    ok &= savePicture(QStringLiteral("Areas/up.bmp"), drawArrow(true), "BMP");
    ok &= savePicture(QStringLiteral("Areas/down.004"), drawArrow(false), "BMP");
    ok &= save(QStringLiteral("Areas/Stairs/1a.dat"), AreaFile(4350, 1200, 1020, 1020, false, QStringLiteral("up.bmp"), false, hand));
    ok &= save(QStringLiteral("Areas/Stairs/1b.dat"), ActionRecord{{{12, 1}, {13, QStringLiteral("Lantern")}}}.bytes());
    ok &= save(QStringLiteral("Areas/Stairs/2a.dat"), AreaFile(4350, 5100, 1020, 1020, false, QStringLiteral("down.bmp"), false, hand));
    ok &= save(QStringLiteral("Areas/Stairs/2b.dat"), ActionRecord{{{32, 1}}}.bytes());

    // The lantern room: stone walls drawn as a metafile. The lamp is
    // dry; the oil is on a shelf out of reach until the grapple pulls it
    // down; oil in the lamp lights it, and the way out appears.
    ok &= save(QStringLiteral("Frames/lantern.011"), midiFile());
    ok &= saveLanternWalls(QStringLiteral("Frames/lantern.007"));
    ok &= save(QStringLiteral("Frames/Lantern.fme"), frameFile({1, QStringLiteral("lantern.wmf"), false, 0, QString(), QStringLiteral("lantern.mid")}));
    ok &= save(QStringLiteral("Frames/Lantern.lks"), links(5));
    ok &= save(QStringLiteral("Areas/Lantern/name.lbl"),
               textFile(QStringLiteral("The lantern room"), 300, 6600, false, false, QStringLiteral("Courier New"), 14, false, 0xC0C0C0));
    ok &= savePicture(QStringLiteral("Areas/lamp.bmp"), drawLamp(false), "BMP");
    ok &= savePicture(QStringLiteral("Areas/lamplit.bmp"), drawLamp(true), "BMP");
    ok &= save(QStringLiteral("Areas/Lantern/1a.dat"),
               AreaFile(3840, 2340, 1860, 2460, false, QStringLiteral("lamp.bmp"), true, hand, {QStringLiteral("LampLit")}));
    ok &= save(QStringLiteral("Areas/Lantern/1b.dat"),
               ActionRecord{{{6, 1}, {7, QStringLiteral("The lamp is dry. It needs oil.")}, {36, true}}}.bytes());
    ok &= save(QStringLiteral("Areas/Lantern/1_Oil.drg"),
               ActionRecord{{{10, true}, {6, 1}, {7, QStringLiteral("The lamp blazes into light!")}, {36, true}, {40, 1}},
                            {QStringList{QStringLiteral("Dry")}, QStringList{QStringLiteral("LampLit")}, QStringList()}}.bytes());
    ok &= save(QStringLiteral("Areas/Lantern/2a.dat"),
               AreaFile(3840, 2340, 1860, 2460, false, QStringLiteral("lamplit.bmp"), true, QString(), {}, {QStringLiteral("LampLit")}));
    ok &= save(QStringLiteral("Areas/Lantern/3a.dat"),
               AreaFile(7800, 5700, 1800, 1500, false, QString(), false, hand, {}, {QStringLiteral("LampLit")}));
    ok &= save(QStringLiteral("Areas/Lantern/3b.dat"), ActionRecord{{{12, 1}, {13, QStringLiteral("Dawn")}}}.bytes());
    ok &= saveStill(QStringLiteral("Areas/shelf.gif"), drawShelf(true));
    ok &= save(QStringLiteral("Areas/Lantern/4a.dat"),
               AreaFile(6900, 900, 1860, 1260, false, QStringLiteral("shelf.gif"), false, hand, {QStringLiteral("GotOil")}));
    ok &= save(QStringLiteral("Areas/Lantern/4b.dat"),
               ActionRecord{{{6, 1}, {7, QStringLiteral("The shelf is too high to reach.")}, {36, false}}}.bytes());
    ok &= save(QStringLiteral("Areas/Lantern/4_Grapple.drg"),
               ActionRecord{{{1, 1}, {2, QStringLiteral("GotOil")}, {4, 1}, {10, true}, {6, 1},
                             {7, QStringLiteral("You hook the oil can down from the shelf.")}, {36, true}}}.bytes());
    ok &= saveStill(QStringLiteral("Areas/oil_floor.gif"), drawOilCan(Qt::transparent));
    ok &= save(QStringLiteral("Areas/Lantern/5a.dat"),
               AreaFile(7530, 5400, 540, 540, false, QStringLiteral("oil_floor.gif"), false, hand, {}, {QStringLiteral("GotOil")}));
    ok &= save(QStringLiteral("Areas/Lantern/5b.dat"), ActionRecord{{{10, true}}}.bytes());
    ok &= save(QStringLiteral("Areas/Lantern/5c.dat"), pickFile(true, QStringLiteral("Oil")));

    // Dawn: a small picture stretched over the frame; after a while the
    // credits follow by themselves.
    ok &= savePicture(QStringLiteral("Frames/dawn.jpg"), drawDawn(), "JPG");
    // The beam's cut-scene plays over the picture; then the morning's MP3.
    const QString morning = QDir(g_out.filePath(QStringLiteral("Frames"))).filePath(QStringLiteral("morning.wav"));
    ok &= save(QStringLiteral("Frames/morning.wav"), demo::WavFile(morningSound()));
    ok &= ffmpeg({QStringLiteral("-i"), morning, QStringLiteral("-codec:a"), QStringLiteral("libmp3lame"), QStringLiteral("-b:a"), QStringLiteral("64k"),
                  g_out.filePath(QStringLiteral("Frames/morning.mp3"))});
    QFile::remove(morning);
    ok &= makeBeamVideo(g_out.filePath(QStringLiteral("Frames/beam.avi")));
    ok &= save(QStringLiteral("Frames/Dawn.fme"), frameFile({1, QStringLiteral("dawn.jpg"), false, 6, QStringLiteral("Credits"), QString(),
                                                             QStringLiteral("beam.avi"), QStringLiteral("morning.mp3")}));
    ok &= save(QStringLiteral("Areas/Dawn/a.lbl"),
               textFile(QStringLiteral("Dawn. The ships came home safe."), 600, 600, true, false, QStringLiteral("Times New Roman"), 20, false, 0x402010));

    // The credits: a click anywhere ends the game.
    // The beam sweeps once more in a window of the credits, until a click.
    ok &= save(QStringLiteral("Frames/Credits.fme"), frameFile({0, QString::number(0x000000), false, 0, QString(), QString(), QStringLiteral("beam.avi"),
                                                                QString(), QRect(160, 300, 320, 240)}));
    ok &= save(QStringLiteral("Frames/Credits.lks"), links(1));
    ok &= save(QStringLiteral("Areas/Credits/1.lbl"),
               textFile(QStringLiteral("The Lighthouse"), 2700, 2400, true, false, QStringLiteral("Times New Roman"), 32, false, 0x80D0FF));
    ok &= save(QStringLiteral("Areas/Credits/2.lbl"),
               textFile(QStringLiteral("a demo game for loomplay"), 3000, 3300, false, true, QStringLiteral("Arial"), 14, false, 0xFFFFFF));
    ok &= save(QStringLiteral("Areas/Credits/3.lbl"),
               textFile(QStringLiteral("Click to return to the title."), 3150, 5700, false, false, QStringLiteral("MS Sans Serif"), 10, false, 0x909090));
    ok &= save(QStringLiteral("Areas/Credits/1a.dat"), AreaFile(0, 0, 9660, 7260, false, QString(), false, hand));
    ok &= save(QStringLiteral("Areas/Credits/1b.dat"), ActionRecord{{{11, true}}}.bytes());
    return ok ? 0 : 1;
}
