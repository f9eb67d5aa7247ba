#pragma once

#include <QImage>
#include <QRect>

// How much of a picture is drawn, and how far two pictures of one metafile
// agree: for the corpus's comparer (metafile_ink) and the tests on it.
namespace corpus {

// A pixel is ink when it is not transparent and not the white of a page.
inline bool Inked(QRgb pixel) { return qAlpha(pixel) > 32 && (pixel & 0xFFFFFF) != 0xFFFFFF; }

// The inked pixels within a rectangle of the picture.
inline long long InkedPixels(const QImage& picture, const QRect& within)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    const QRect area = within & image.rect();
    long long count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            count += Inked(row[x]);
    }
    return count;
}

// The pixels inked in both pictures over those inked in either, the second
// scaled to the first's size: 1 is the same ink, 0 none in common.
inline double Agreement(const QImage& ours, const QImage& theirs)
{
    const QImage a = ours.convertToFormat(QImage::Format_ARGB32);
    const QImage b = theirs.scaled(ours.size()).convertToFormat(QImage::Format_ARGB32);
    long long both = 0, either = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            both += Inked(rowA[x]) && Inked(rowB[x]);
            either += Inked(rowA[x]) || Inked(rowB[x]);
        }
    }
    return either == 0 ? 1 : double(both) / double(either);
}

} // namespace corpus
