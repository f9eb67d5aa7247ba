// Draws metafiles with the player's own reader and tells, for each, how many
// of its pixels are inked, beside the count in the picture another renderer
// drew of it (a PNG of the same name in the reference folder). Used by
// compare_metafiles.sh, which runs it once a file so that a crash is told
// against the file that caused it.
//   metafile_ink [--reference DIR] [--pictures DIR] FILE...
// prints a line a file: NAME OURS_INK REFERENCE_INK AGREEMENT WIDTH HEIGHT
// (REFERENCE_INK is -1 without a reference picture; OURS_INK is -1 when the
// file is no picture to the player; AGREEMENT is the pixels inked in both
// over those inked in either, the reference scaled to the picture's size, -1
// without it). --pictures writes each drawing as PNG.
#include "pictures/picture_decoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

namespace {

// A pixel is ink when it is not transparent and not the white of a page.
bool ink(QRgb pixel) { return qAlpha(pixel) > 32 && (pixel & 0xFFFFFF) != 0xFFFFFF; }

long long inked(const QImage& picture)
{
    if (picture.isNull())
        return -1;
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    long long count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += ink(row[x]);
    }
    return count;
}

double agreement(const QImage& ours, const QImage& reference)
{
    if (ours.isNull() || reference.isNull())
        return -1;
    const QImage a = ours.convertToFormat(QImage::Format_ARGB32);
    const QImage b = reference.scaled(ours.size()).convertToFormat(QImage::Format_ARGB32);
    long long both = 0, either = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const bool inA = ink(a.pixel(x, y)), inB = ink(b.pixel(x, y));
            both += inA && inB;
            either += inA || inB;
        }
    }
    return either == 0 ? 1 : double(both) / double(either);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString reference, pictures;
    while (args.size() >= 2 && args.first().startsWith(QStringLiteral("--"))) {
        const QString option = args.takeFirst();
        (option == QStringLiteral("--reference") ? reference : pictures) = args.takeFirst();
    }
    QTextStream out(stdout);
    for (const QString& path : args) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            QTextStream(stderr) << "metafile_ink: cannot read " << path << "\n";
            return 1;
        }
        const QImage ours = pictures::DecodePicture(file.readAll());
        const QString name = QFileInfo(path).fileName();
        const QImage referencePicture = reference.isEmpty() ? QImage() : QImage(QDir(reference).filePath(name + QStringLiteral(".png")));
        const long long theirs = inked(referencePicture);
        if (!pictures.isEmpty() && !ours.isNull())
            ours.save(QDir(pictures).filePath(name + QStringLiteral(".png")));
        out << name << ' ' << inked(ours) << ' ' << theirs << ' ' << QString::number(agreement(ours, referencePicture), 'f', 3) << ' ' << ours.width()
            << ' ' << ours.height() << "\n";
    }
    return 0;
}
