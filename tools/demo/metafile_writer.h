#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <memory>

// Writes Windows metafiles, both the placeable 16-bit kind (.wmf) and the
// enhanced kind (.emf), through libuemf: pictures for the demo game and for
// the tests of the player's metafile drawing. Logical units are the
// picture's pixels at 96 dots an inch.
class MetafileWriter {
public:
    enum class Kind { Wmf, Emf };

    MetafileWriter(Kind kind, QSize size, const QString& path);
    ~MetafileWriter();
    MetafileWriter(const MetafileWriter&) = delete;
    MetafileWriter& operator=(const MetafileWriter&) = delete;

    void setPen(QColor color, int width = 1);
    void setNoPen();
    void setBrush(QColor color);
    void setNoBrush();
    void setTextColor(QColor color);

    void rectangle(const QRect& rect);
    void roundRect(const QRect& rect, QSize corner);
    void ellipse(const QRect& rect);
    void polygon(const QList<QPoint>& points);
    void polyPolygon(const QList<QList<QPoint>>& polygons);
    void polyline(const QList<QPoint>& points);
    void arc(const QRect& rect, QPoint start, QPoint end);
    void pie(const QRect& rect, QPoint start, QPoint end);
    // Text from its top-left corner, in a font height pixels high, on a
    // transparent background.
    void text(QPoint at, const QString& text, int height, const QString& face = QStringLiteral("Arial"));
    // A 24-bit bitmap stretched onto dest.
    void bitmap(const QRect& dest, const QImage& image);

    // Ends the picture and writes the file; false when it cannot be written.
    bool finish();

private:
    struct Track;
    std::unique_ptr<Track> m_track;
};
