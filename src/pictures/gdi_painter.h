#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <variant>
#include <vector>

namespace base {
class ByteReader;
}

namespace pictures {

class DrawingBudget;

// The graphics objects a metafile creates and selects.
struct GdiPen {
    int style = 0;          // the low nibble: solid, dash, dot, dash-dot, dash-dot-dot, null, inside frame
    double width = 0;       // logical units; 0 is one pixel whatever the mapping
    bool cosmetic = false;  // a pen of one pixel whatever its width
    QColor color = Qt::black;
};

struct GdiBrush {
    int style = 0;          // solid, null, hatched, pattern
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern;
};

struct GdiFont {
    double height = 0;      // logical units; below 0 the character height, above 0 the cell height
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    double escapement = 0;  // tenths of a degree, counter-clockwise
    int charSet = 0;
    QString face;
};

// A font as a record stores it from at: the 16-bit kind of old metafiles
// with an 8-bit face name, or the wide kind with a UTF-16 one.
GdiFont ReadLogFont(const base::ByteReader& record, qsizetype at, bool wide);

// Palettes and regions take a place in the object table and draw nothing.
using GdiObject = std::variant<std::monostate, GdiPen, GdiBrush, GdiFont>;

// A device context over a QPainter: the state the records of a metafile
// change (mapping, objects, colours, alignment, current position, clipping,
// a path being recorded) and the drawing operations they call, in logical
// coordinates. Geometry is mapped to the image here, so that pens, text and
// arcs come out right under every mapping mode, mirrored axes included.
// Every painting first takes its work from the budget; once the budget
// refuses one, nothing more is painted.
class GdiPainter {
public:
    enum MapMode { Text = 1, LoMetric, HiMetric, LoEnglish, HiEnglish, Twips, Isotropic, Anisotropic };

    // deviceToImage maps the reference device's pixels onto the image;
    // millimetresPerPixel is the size of one of those pixels.
    GdiPainter(QImage& image, const QTransform& deviceToImage, QSizeF millimetresPerPixel, DrawingBudget& budget);
    ~GdiPainter();

    void setMapMode(int mode);
    void setWindowOrg(QPointF org);
    void setWindowExt(QSizeF ext);
    void setViewportOrg(QPointF org);
    void setViewportExt(QSizeF ext);
    void offsetWindowOrg(QPointF by) { setWindowOrg(m_dc.windowOrg + by); }
    void offsetViewportOrg(QPointF by) { setViewportOrg(m_dc.viewportOrg + by); }
    void scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom);
    void scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom);
    void setWorldTransform(const QTransform& transform);
    // Identity (1), left multiply (2), right multiply (3) or set (4).
    void modifyWorldTransform(const QTransform& transform, int mode);

    void setBkColor(QColor color) { m_dc.bkColor = color; }
    void setBkMode(int mode) { m_dc.bkOpaque = mode == 2; }
    void setTextColor(QColor color) { m_dc.textColor = color; }
    void setTextAlign(int align) { m_dc.textAlign = align; }
    void setPolyFillMode(int mode) { m_dc.winding = mode == 2; }
    void saveDC();
    // A negative level counts back from the newest saved state.
    void restoreDC(int level);

    // Objects kept at the place the record names (enhanced metafiles).
    void createObjectAt(std::uint32_t index, GdiObject object);
    // Objects kept at the lowest free place (old metafiles).
    void createObject(GdiObject object);
    // Places with the high bit set are the system's stock objects.
    void selectObject(std::uint32_t index);
    void deleteObject(std::uint32_t index);

    void intersectClipRect(const QRectF& rect);
    void excludeClipRect(const QRectF& rect);
    void resetClip();

    void moveTo(QPointF point) { m_dc.position = point; }
    void lineTo(QPointF point);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polyBezier(const QPolygonF& points);
    void polyBezierTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons);
    void polyPolyline(const std::vector<QPolygonF>& polylines);
    void rectangle(const QRectF& rect);
    void roundRect(const QRectF& rect, QSizeF corner);
    void ellipse(const QRectF& rect);
    enum class ArcKind { Arc, ArcTo, Chord, Pie };
    void arc(ArcKind kind, const QRectF& rect, QPointF start, QPointF end);
    void angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees);
    void setPixel(QPointF point, QColor color);
    // ExtTextOut's options: opaque (2) fills the rectangle with the
    // background colour, clipped (4) keeps the text inside it.
    void textOut(QPointF point, const QString& text, std::optional<QRectF> rect = std::nullopt, int options = 0);
    // A bitmap drawn from its source rectangle onto a logical rectangle.
    void drawBitmap(const QRectF& dest, QRectF source, const QImage& bitmap, std::uint32_t rop);
    // A rectangle filled by the brush (or black or white) without a pen.
    void patBlt(const QRectF& dest, std::uint32_t rop);

    void beginPath();
    void endPath() { m_pathOpen = false; }
    void abortPath() { m_path.reset(); m_pathOpen = false; }
    void closeFigure();
    void fillPath() { finishPath(true, false); }
    void strokePath() { finishPath(false, true); }
    void strokeAndFillPath() { finishPath(true, true); }

    // The text of a font's character set, for metafiles that store 8-bit text.
    static QString decodeText(const QByteArray& bytes, int charSet);

private:
    struct State {
        int mapMode = Text;
        QPointF windowOrg;
        QSizeF windowExt{1, 1};
        QPointF viewportOrg;
        QSizeF viewportExt{1, 1};
        QTransform world;
        GdiPen pen;
        GdiBrush brush;
        GdiFont font;
        QColor bkColor = Qt::white;
        QColor textColor = Qt::black;
        bool bkOpaque = true;
        int textAlign = 0;
        bool winding = false;
        QPointF position;
        std::optional<QPainterPath> clip; // in image coordinates
    };

    QTransform pageToDevice() const;
    QTransform toImage() const { return m_dc.world * pageToDevice() * m_deviceToImage; }
    double imageScale() const;
    QPen qpen() const;
    QBrush qbrush() const;
    // Takes the work of a painting, and that of clipping it, from the
    // budget and sets the clipping area; false when the budget refuses it.
    bool begin(double work);
    // The work of filling (with the brush) and stroking (with the pen) a
    // path in image coordinates.
    double shapeWork(const QPainterPath& mapped, bool filled, const QPen& pen) const;
    bool solidBrush() const;
    // Takes the work of decoding and holding an object's pattern.
    void holdObject(const GdiObject& object);
    // Draws (or adds to the open path) a shape given in logical coordinates.
    void draw(const QPainterPath& logical, bool fill);
    void finishPath(bool fill, bool stroke);
    QPainterPath arcPath(ArcKind kind, const QRectF& rect, QPointF start, QPointF end) const;
    void storeSelected(const GdiObject& object);

    QImage& m_image;
    DrawingBudget& m_budget;
    QPainter m_painter;
    QTransform m_deviceToImage;
    QSizeF m_mmPerPixel;
    State m_dc;
    std::vector<State> m_saved;
    std::map<std::uint32_t, GdiObject> m_objects;
    std::set<std::uint32_t> m_freePlaces;
    std::uint32_t m_nextPlace = 0;
    std::optional<QPainterPath> m_path; // in image coordinates
    bool m_pathOpen = false;
};

} // namespace pictures
