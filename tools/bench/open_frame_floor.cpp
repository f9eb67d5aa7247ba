// The cost of opening a frame against its floor. Writes a game of two
// 640x480 JPG frames, each with 30 areas (10 with BMP or GIF pictures) and 5
// texts, then opens them back and forth through the player's own OpenFrame,
// interleaved with the floor: reading the same files, decoding the same
// pictures with QImageReader and painting them once into an image. Opens come
// at the pace of clicks, 150 ms apart with the event loop idle in between, as
// opens back to back keep every cache warm and flatter both sides. The CPU of
// one open is that of its whole click: the open, the paints it causes and the
// idle wait after it. Prints both medians, their ratio (goal at most 1.3) and
// the paints of the game picture per open (goal 1).
//   open_frame_floor [OPENS]
#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "bench/cpu_time.h"
#include "bench/game_files.h"
#include "engine/game.h"
#include "formats/quoted_field_reader.h"
#include "formats/quoted_field_writer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsView>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using bench::writeFile;

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void savePicture(const QString& path, int w, int h, QColor colour, const char* format)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QPainter p(&image);
    p.setPen(Qt::white);
    for (int i = 0; i < w; i += 7)
        p.drawLine(i, 0, w - i, h);
    p.end();
    image.save(path, format, 90);
}

constexpr int kAreas = 30;
constexpr int kTexts = 5;

void makeGame(const QString& dir)
{
    formats::QuotedFieldWriter general;
    general.string(QStringLiteral("BENCH")).string(QString()).string(QStringLiteral("Bench")).number(0).string(QStringLiteral("A"))
        .string(QString()).number(640).number(480).string(QString()).string(QString()).string(QString()).endRecord();
    writeFile(dir + QStringLiteral("/Config/General"), general.bytes());
    writeFile(dir + QStringLiteral("/Config/Variables"), "0\r\n");
    for (const char* name : {"A", "B"}) {
        const QString frame = QString::fromLatin1(name);
        savePicture(dir + QStringLiteral("/Frames/%1.jpg").arg(frame), 640, 480, frame == QLatin1String("A") ? Qt::darkBlue : Qt::darkGreen, "JPG");
        formats::QuotedFieldWriter fme;
        fme.number(1).string(frame + QStringLiteral(".jpg")).boolean(false).boolean(false).string(QString()).boolean(false).number(0)
            .string(QString()).string(QString()).boolean(false).endRecord();
        writeFile(dir + QStringLiteral("/Frames/%1.fme").arg(frame), fme.bytes());
        formats::QuotedFieldWriter lks;
        lks.number(kAreas).endRecord();
        writeFile(dir + QStringLiteral("/Frames/%1.lks").arg(frame), lks.bytes());
        for (int a = 1; a <= kAreas; ++a) {
            const bool picture = a <= 10;
            const QString file = picture ? QStringLiteral("%1%2.%3").arg(frame).arg(a).arg(a % 2 ? QStringLiteral("bmp") : QStringLiteral("gif"))
                                         : QString();
            if (picture)
                savePicture(dir + QStringLiteral("/Areas/") + file, 64, 64, QColor::fromHsv(a * 30, 200, 200), a % 2 ? "BMP" : "GIF");
            formats::QuotedFieldWriter area;
            area.number((a % 10) * 900).number((a / 10) * 1500 + 300).number(960).number(960).number(0).number(picture ? -1 : 0)
                .string(file).number(0).string(QString()).endRecord();
            area.number(0).endRecord();
            writeFile(dir + QStringLiteral("/Areas/%1/%2a.dat").arg(frame).arg(a), area.bytes());
        }
        for (int t = 1; t <= kTexts; ++t) {
            formats::QuotedFieldWriter text;
            text.string(QStringLiteral("Text %1 of frame %2").arg(t).arg(frame)).number(300).number(t * 1200).boolean(true).boolean(false)
                .string(QStringLiteral("Arial")).number(14).boolean(false).boolean(false).number(0xFFFFFF).endRecord();
            writeFile(dir + QStringLiteral("/Areas/%1/%2.lbl").arg(frame).arg(t), text.bytes());
        }
    }
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The floor: the same records read (frame and area files twice, as an open
// does) in one code page for the run, the same pictures decoded, and the
// scene painted once.
void floorOpen(const QString& dir, const QString& frame, const base::CodePage& codePage, QImage& canvas)
{
    auto fields = [&](const QString& path) {
        formats::QuotedFieldReader reader(readAll(path), codePage);
        int n = 0;
        while (!reader.atEnd()) {
            reader.readAny();
            ++n;
        }
        return n;
    };
    QPainter painter(&canvas);
    for (int pass = 0; pass < 2; ++pass) {
        fields(dir + QStringLiteral("/Frames/%1.fme").arg(frame));
        fields(dir + QStringLiteral("/Frames/%1.lks").arg(frame));
    }
    QImageReader background(dir + QStringLiteral("/Frames/%1.jpg").arg(frame));
    painter.drawImage(0, 0, background.read());
    for (int a = 1; a <= kAreas; ++a) {
        const QString path = dir + QStringLiteral("/Areas/%1/%2a.dat").arg(frame).arg(a);
        fields(path);
        fields(path);
        if (a <= 10) {
            QImageReader picture(dir + QStringLiteral("/Areas/%1%2.%3").arg(frame).arg(a).arg(a % 2 ? QStringLiteral("bmp") : QStringLiteral("gif")));
            painter.drawImage((a % 10) * 60, (a / 10) * 100 + 20, picture.read());
        }
    }
    for (int t = 1; t <= kTexts; ++t) {
        formats::QuotedFieldReader reader(readAll(dir + QStringLiteral("/Areas/%1/%2.lbl").arg(frame).arg(t)), codePage);
        const QString caption = reader.readString();
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(14);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(20, t * 80, caption);
    }
}

// Counts the paints of the game picture.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

constexpr qint64 kClickPaceMs = 150;

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int opens = argc > 1 ? std::max(10, std::atoi(argv[1])) : 200;
    QTemporaryDir dir;
    makeGame(dir.path());
    qputenv("XDG_CONFIG_HOME", QDir(dir.path()).filePath(QStringLiteral("settings")).toLocal8Bit());
    run::RuntimeOptions options;
    options.projectDir = dir.path();
    options.scripted = true;
    options.screen = QSize(640, 480);
    app::Runtime rt(options);
    rt.log.setEnabled(false);
    rt.frmWelcome().ClickButton(0);
    engine::Game& game = rt.game();
    PaintCounter counter;
    game.window().view().viewport()->installEventFilter(&counter);
    bench::idle(kClickPaceMs);
    const base::CodePage codePage(QStringLiteral("windows-1252"));
    QImage canvas(640, 480, QImage::Format_ARGB32_Premultiplied);
    std::vector<double> player, floor;
    const int paintsBefore = counter.paints;
    for (int i = 0; i < opens; ++i) {
        const QString frame = i % 2 ? QStringLiteral("A") : QStringLiteral("B");
        double start = cpuMs();
        game.OpenFrame(frame);
        // The window paints in its event loop, as after a click.
        bench::idle(kClickPaceMs);
        player.push_back(cpuMs() - start);
        start = cpuMs();
        floorOpen(dir.path(), frame, codePage, canvas);
        bench::idle(kClickPaceMs);
        floor.push_back(cpuMs() - start);
    }
    const double p = median(player), f = median(floor);
    std::printf("open a frame at the pace of clicks (%lld ms): player %.3f ms, floor %.3f ms, ratio %.2f (goal 1.3), "
                "%.2f paints per open (goal 1), over %d opens\n",
                static_cast<long long>(kClickPaceMs), p, f, p / f, static_cast<double>(counter.paints - paintsBefore) / opens, opens);
    return 0;
}
