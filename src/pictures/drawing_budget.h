#pragma once

#include <QPainterPath>
#include <QPolygonF>
#include <QSize>

namespace pictures {

// How much work drawing one metafile may take, and what each kind of
// painting costs. A file of a few kilobytes can ask for minutes: thousands of
// records that each cover a picture of 8,192 pixels a side, one shape whose
// every row crosses thousands of edges, a tiny bitmap stretched over all of
// it. Drawing stops, keeping what it drew, at the first painting that would
// pass the limit.
//
// Work is reckoned in pixels filled with one colour (about 0.2 ns each with
// Qt's raster painter); every other kind of painting is weighed against
// that (drawing_budget.cpp gives the weights and what they were measured
// on). Estimates come from the geometry alone, so the same file always draws
// the same picture, in play and in a check alike.
class DrawingBudget {
public:
    // 48 pictures of the largest size filled whole: 0.7 to 0.8 s of one
    // core here (more on a busy machine), with 0.1 s more to make and clear
    // the picture itself, so the worst metafile draws in about a second,
    // while a picture of a game's size may still be covered thousands of
    // times over (a 1024x768 one, 4,000 times).
    static constexpr double Default = 48.0 * 8192 * 8192;

    explicit DrawingBudget(double limit = Default) : m_limit(limit) {}

    // Takes work from what is left. When it would pass the limit it is
    // refused, and so is everything after it: nothing more is drawn.
    bool take(double work);
    bool exhausted() const { return m_exhausted; }
    double used() const { return m_used; }
    double limit() const { return m_limit; }

    // What each painting costs on a picture of the size given; paths and
    // polygons are in the picture's pixels.
    // Reading and playing one record, whatever it draws.
    static double record();
    // Filling a path, with one colour or with a hatched or pattern brush.
    static double fill(const QPainterPath& path, bool solid, QSize picture);
    // Stroking a path with a pen this many pixels wide; 0 is a thin pen.
    static double stroke(const QPainterPath& path, double width, QSize picture);
    // Drawing through a clipping area, each time it is set on the painter.
    static double clip(const QPainterPath& region, QSize picture);
    // Combining a rectangle into a clipping area of paths.
    static double clipChange(const QPainterPath& region);
    // Text of this many characters whose ink lies within the box.
    static double text(const QPolygonF& box, qsizetype characters, QSize picture);
    // Decoding a bitmap of this size (or holding it as a brush's pattern).
    static double decoded(QSize bitmap);
    // Drawing a bitmap onto this place, at its own size or stretched.
    static double bitmap(const QPolygonF& place, bool stretched, QSize picture);

private:
    double m_limit;
    double m_used = 0;
    bool m_exhausted = false;
};

} // namespace pictures
