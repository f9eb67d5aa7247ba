// What small files that claim large pictures cost. Two measures, each best
// run in a process of its own:
//   picture_limits memory [AREAS] [distinct]    a frame whose AREAS areas
//       (default 6) all show one 60-byte 8000x8000 RLE BMP, or each a file
//       of its own: the peak resident size once the frame is open and
//       painted, and the message boxes shown. Goal: one decoded copy of the
//       picture, whatever the number of areas (at most 400 MB; a copy of its
//       own per area reached 1.5 GB); files of their own are refused with a
//       report past the pictures' budget of 512 MB (at most 700 MB).
//   picture_limits metafile [RECORDS] [SIDE]    decodes a WMF of RECORDS
//       (default 2,000) rectangles over the whole of a SIDE x SIDE picture
//       (default 8192): the CPU time. Goal: at most about a second however
//       many records the file holds (at most 1.2 s here).
#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "base/byte_writer.h"
#include "bench/cpu_time.h"
#include "bench/game_files.h"
#include "demo/authoring.h"
#include "demo/metafile_writer.h"
#include "formats/quoted_field_writer.h"
#include "pictures/picture_decoder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

namespace {

using bench::writeFile;

// An 8-bit RLE BMP of the size given whose pixels are one end-of-bitmap
// code: every pixel is its one colour.
QByteArray emptyRleBitmap(int width, int height)
{
    base::ByteWriter bmp;
    bmp.raw("BM").u32(60).u32(0).u32(58);
    bmp.u32(40).u32(static_cast<quint32>(width)).u32(static_cast<quint32>(height)).u16(1).u16(8).u32(1).u32(2).u32(0).u32(0).u32(1).u32(0);
    bmp.u8(0x80).u8(0x40).u8(0x20).u8(0);
    bmp.u8(0).u8(1);
    return bmp.bytes();
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

int memory(int areas, bool distinct)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    formats::QuotedFieldWriter general;
    general.string(QStringLiteral("BENCH")).string(QString()).string(QStringLiteral("Bench")).number(0).string(QStringLiteral("Start"))
        .string(QString()).number(640).number(480).string(QString()).string(QString()).string(QString()).endRecord();
    writeFile(root + QStringLiteral("/Config/General"), general.bytes());
    writeFile(root + QStringLiteral("/Config/Variables"), "0\r\n");
    formats::QuotedFieldWriter frame;
    frame.number(0).string(QStringLiteral("255")).boolean(false).boolean(false).string(QString()).boolean(false).number(0)
        .string(QString()).string(QString()).boolean(false).endRecord();
    writeFile(root + QStringLiteral("/Frames/Start.fme"), frame.bytes());
    formats::QuotedFieldWriter links;
    links.number(areas).endRecord();
    writeFile(root + QStringLiteral("/Frames/Start.lks"), links.bytes());
    for (int a = 1; a <= areas; ++a) {
        const QString picture = distinct ? QStringLiteral("large%1.bmp").arg(a) : QStringLiteral("large.bmp");
        writeFile(root + QStringLiteral("/Areas/") + picture, emptyRleBitmap(8000, 8000));
        writeFile(root + QStringLiteral("/Areas/Start/%1a.dat").arg(a),
                  demo::AreaFile(a * 1200, 600, 1560, 1560, false, picture, true, QString()));
    }
    qputenv("XDG_CONFIG_HOME", QDir(root).filePath(QStringLiteral("settings")).toLocal8Bit());
    run::RuntimeOptions options;
    options.projectDir = root;
    options.scripted = true;
    options.screen = QSize(640, 480);
    const double before = peakMegabytes();
    const double cpuBefore = bench::cpuSeconds();
    app::Runtime rt(options);
    rt.frmWelcome().ClickButton(0);
    // The window paints what it shows, once.
    QCoreApplication::processEvents();
    const double cpu = bench::cpuSeconds() - cpuBefore;
    std::printf("%d areas showing %s: peak resident %.0f MB (%.0f MB before the game), %.2f s CPU, %zu message boxes\n", areas,
                distinct ? "an 8000x8000 picture each" : "one 8000x8000 picture", peakMegabytes(), before, cpu, rt.log.ofType(QStringLiteral("msgbox")).size());
    return 0;
}

int metafile(int records, int side)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.wmf"));
    {
        MetafileWriter writer(MetafileWriter::Kind::Wmf, QSize(side, side), path);
        writer.setNoPen();
        for (int i = 0; i < records; ++i) {
            writer.setBrush(QColor::fromHsv(i % 360, 200, 200));
            writer.rectangle(QRect(0, 0, side, side));
        }
        if (!writer.finish())
            return 1;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    const double cpuBefore = bench::cpuSeconds();
    const QImage image = pictures::DecodePicture(bytes);
    const double cpu = bench::cpuSeconds() - cpuBefore;
    std::printf("a %lld-byte WMF of %d rectangles over %dx%d pixels: %.2f s CPU (%s)\n", static_cast<long long>(bytes.size()), records,
                side, side, cpu, image.isNull() ? "no picture" : "drawn");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "memory") == 0)
        return memory(argc > 2 ? std::max(1, std::atoi(argv[2])) : 6, argc > 3 && std::strcmp(argv[3], "distinct") == 0);
    if (argc > 1 && std::strcmp(argv[1], "metafile") == 0)
        return metafile(argc > 2 ? std::max(1, std::atoi(argv[2])) : 2000, argc > 3 ? std::clamp(std::atoi(argv[3]), 1, 8192) : 8192);
    std::fprintf(stderr, "usage: picture_limits memory [AREAS] [distinct] | metafile [RECORDS] [SIDE]\n");
    return 2;
}
