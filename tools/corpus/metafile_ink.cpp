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
#include "corpus/ink.h"
#include "pictures/picture_decoder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

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
        const long long theirs = referencePicture.isNull() ? -1 : corpus::InkedPixels(referencePicture, referencePicture.rect());
        if (!pictures.isEmpty() && !ours.isNull())
            ours.save(QDir(pictures).filePath(name + QStringLiteral(".png")));
        const long long inked = ours.isNull() ? -1 : corpus::InkedPixels(ours, ours.rect());
        const double agreement = ours.isNull() || referencePicture.isNull() ? -1 : corpus::Agreement(ours, referencePicture);
        out << name << ' ' << inked << ' ' << theirs << ' ' << QString::number(agreement, 'f', 3) << ' ' << ours.width()
            << ' ' << ours.height() << "\n";
    }
    return 0;
}
