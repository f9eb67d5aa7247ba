#include "pictures/drawing_budget.h"

#include <QRectF>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace pictures {

namespace {

// The weights, in pixels filled with one colour (0.19 ns), from timings of
// Qt 6.4's raster painter on pictures of 8,192 pixels a side on this
// project's machines; each rounded up to cover the slowest case seen.
// Reading a record and calling the painter once: 0.4 to 0.8 us.
constexpr double RecordWork = 4096;
// A hatched or pattern brush fetches every pixel: 2.4 to 2.7 ns a pixel.
constexpr double PatternPixel = 16;
// Filling a shape without smoothing takes a time on each row that grows
// with the square of the edges crossing it: 2.4 ns for each (a zigzag of
// 2,000 points over 8,192 rows took 79 s).
constexpr double CrossingSquared = 16;
// A thin pen sets a steep line pixel by pixel: 14 to 19 ns a pixel.
constexpr double LinePixel = 128;
// Large glyphs are filled outlines: 6 ns a pixel of their box...
constexpr double TextPixel = 32;
// ...and every character is shaped, laid out and clipped, even outside the
// picture: up to 13 us a character in a line of 8,000.
constexpr double Character = 65536;
// Decoding a bitmap, copying it to invert it: about 1 ns a pixel.
constexpr double DecodedPixel = 8;
// A bitmap at its own size: up to 2.6 ns a pixel (from indexed colours).
constexpr double BlitPixel = 16;
// Stretched and smoothed: up to 23 ns a pixel (a few indexed pixels over a
// whole picture).
constexpr double StretchedPixel = 128;
// Combining a rectangle with a clipping area of n elements: 0.13 ns times
// n squared (4,000 rectangles excluded one by one took over 60 s).
constexpr double ClipElementSquared = 1;
// Setting a clipping area turns it into spans: about 9 ns a row.
constexpr double ClipRow = 64;

double area(const QRectF& box, QSize picture)
{
    const QRectF inside = box.normalized().intersected(QRectF(QPointF(0, 0), QSizeF(picture)));
    return inside.isValid() ? inside.width() * inside.height() : 0;
}

double rows(const QRectF& box, QSize picture)
{
    const double top = std::clamp(box.top(), 0.0, double(picture.height()));
    const double bottom = std::clamp(box.bottom(), 0.0, double(picture.height()));
    return std::isfinite(bottom - top) ? bottom - top : picture.height();
}

// The sum over the picture's rows of the square of the number of edges that
// cross each: the scan converter's work beyond the pixels it fills. A pen
// widens each edge's rows by reach on either side; a fill closes every
// figure.
double crossingsSquared(const QPainterPath& path, bool closeFigures, double reach, int height)
{
    std::vector<std::pair<int, int>> changes; // row, edges starting (+1) or ending (-1)
    const auto edge = [&](QPointF a, QPointF b) {
        const double top = std::floor(std::min(a.y(), b.y()) - reach);
        const double bottom = std::ceil(std::max(a.y(), b.y()) + reach);
        if (!std::isfinite(top) || !std::isfinite(bottom))
            return;
        const int from = static_cast<int>(std::clamp(top, 0.0, double(height)));
        const int to = static_cast<int>(std::clamp(bottom, 0.0, double(height)));
        if (to > from) {
            changes.emplace_back(from, 1);
            changes.emplace_back(to, -1);
        }
    };
    for (const QPolygonF& figure : path.toSubpathPolygons()) {
        for (qsizetype i = 1; i < figure.size(); ++i)
            edge(figure[i - 1], figure[i]);
        if (closeFigures && figure.size() > 2)
            edge(figure.last(), figure.first());
    }
    std::sort(changes.begin(), changes.end());
    double sum = 0;
    double crossing = 0;
    int row = 0;
    for (const auto& [at, change] : changes) {
        sum += crossing * crossing * (at - row);
        row = at;
        crossing += change;
    }
    return sum;
}

} // namespace

bool DrawingBudget::take(double work)
{
    // Written so that a work of no number is refused too.
    if (m_exhausted || !(work <= m_limit - m_used)) {
        m_exhausted = true;
        return false;
    }
    m_used += work;
    return true;
}

double DrawingBudget::record() { return RecordWork; }

double DrawingBudget::fill(const QPainterPath& path, bool solid, QSize picture)
{
    return area(path.controlPointRect(), picture) * (solid ? 1 : PatternPixel)
           + CrossingSquared * crossingsSquared(path, true, 0, picture.height());
}

double DrawingBudget::stroke(const QPainterPath& path, double width, QSize picture)
{
    const bool thin = width <= 1;
    const double reach = thin ? 0 : width / 2;
    // The pixels along each segment, as wide as the pen, as far as the
    // picture reaches (the stroker leaves out what lies outside it).
    const QRectF inside = QRectF(QPointF(0, 0), QSizeF(picture)).adjusted(-reach, -reach, reach, reach);
    const double longest = picture.width() + picture.height();
    double pixels = 0;
    for (const QPolygonF& figure : path.toSubpathPolygons()) {
        for (qsizetype i = 1; i < figure.size(); ++i) {
            const QRectF segment = QRectF(figure[i - 1], figure[i]).normalized();
            if (segment.left() > inside.right() || segment.right() < inside.left() || segment.top() > inside.bottom()
                || segment.bottom() < inside.top())
                continue;
            const double along = std::max(segment.width(), segment.height());
            pixels += (1 + (std::isfinite(along) ? std::min(along, longest) : longest)) * (thin ? 1 : width);
        }
    }
    if (thin)
        return LinePixel * pixels;
    // A wide pen's outline is filled like any shape.
    return std::min(pixels, area(path.controlPointRect().adjusted(-reach, -reach, reach, reach), picture))
           + CrossingSquared * crossingsSquared(path, false, reach, picture.height());
}

double DrawingBudget::clip(const QPainterPath& region, QSize picture)
{
    return ClipRow * rows(region.controlPointRect(), picture) + CrossingSquared * crossingsSquared(region, true, 0, picture.height());
}

double DrawingBudget::clipChange(const QPainterPath& region)
{
    // The rectangle's own five elements, then the area's.
    const double elements = region.elementCount() + 5.0;
    return ClipElementSquared * elements * elements;
}

double DrawingBudget::text(const QPolygonF& box, qsizetype characters, QSize picture)
{
    return TextPixel * area(box.boundingRect(), picture) + Character * static_cast<double>(characters);
}

double DrawingBudget::decoded(QSize bitmap)
{
    return DecodedPixel * std::max(0, bitmap.width()) * std::max(0, bitmap.height());
}

double DrawingBudget::bitmap(const QPolygonF& place, bool stretched, QSize picture)
{
    return (stretched ? StretchedPixel : BlitPixel) * area(place.boundingRect(), picture);
}

} // namespace pictures
