#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <utility>
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

// A region: the union of the rectangles its record gives.
struct GdiRegion {
    QPainterPath area;
};

// A font as a record stores it from at: the 16-bit kind of old metafiles
// with an 8-bit face name, or the wide kind with a UTF-16 one.
GdiFont ReadLogFont(const base::ByteReader& record, qsizetype at, bool wide);

// Palettes take a place in the object table and draw nothing.
using GdiObject = std::variant<std::monostate, GdiPen, GdiBrush, GdiFont, GdiRegion>;

// Raster operations: how a pattern (the brush), a source bitmap and the
// picture's own pixels combine. The ternary code's bits 16 to 23 are its
// truth table, each bit the result for one combination of pattern, source
// and picture bits (bit 4 set, 2 set, 1 set in its index).
enum RasterOp : std::uint32_t {
    Blackness = 0x00000042,
    NotSrcErase = 0x001100A6,
    NotSrcCopy = 0x00330008,
    SrcErase = 0x00440328,
    DstInvert = 0x00550009,
    PatInvert = 0x005A0049,
    SrcInvert = 0x00660046,
    SrcAnd = 0x008800C6,
    MergePaint = 0x00BB0226,
    MergeCopy = 0x00C000CA,
    SrcCopy = 0x00CC0020,
    SrcPaint = 0x00EE0086,
    PatCopy = 0x00F00021,
    PatPaint = 0x00FB0A09,
    Whiteness = 0x00FF0062,
};

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
    // How pens and brushes combine with the picture: the binary codes 1
    // (black) to 16 (white), 13 the pen as it is.
    void setRop2(int mode);
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
    // The clipping combined with a region in the reference device's pixels
    // (none is no region) by and (1), or (2), xor (3), diff (4) or copy (5);
    // a copy of no region lifts the clipping.
    void selectClipRegion(const std::optional<QPainterPath>& device, int mode);
    // The region at a place of the table, in logical units, as the clipping.
    void selectClipObject(std::uint32_t index);

    // Regions in logical units: filled with a brush, framed by one (a border
    // of the width and height given, inside the region), inverted, or
    // painted with the selected brush.
    void fillRegion(const QPainterPath& region, const GdiBrush& brush);
    void frameRegion(const QPainterPath& region, const GdiBrush& brush, QSizeF border);
    void invertRegion(const QPainterPath& region);
    void paintRegion(const QPainterPath& region) { fillRegion(region, m_dc.brush); }
    // The brush or region at a place of the table (brushes also among the
    // stock objects); none when the place holds something else.
    std::optional<GdiBrush> brushObject(std::uint32_t index) const;
    std::optional<QPainterPath> regionObject(std::uint32_t index) const;

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
    // A bitmap drawn from its source rectangle onto a logical rectangle,
    // combined with the brush and the picture by a ternary raster operation.
    // An opacity below 1 blends a copied bitmap with what lies under it.
    void drawBitmap(const QRectF& dest, QRectF source, const QImage& bitmap, std::uint32_t rop, double opacity = 1);
    // A rectangle combined with the brush by a ternary raster operation,
    // without a pen.
    void patBlt(const QRectF& dest, std::uint32_t rop);

    void beginPath();
    void endPath() { m_pathOpen = false; }
    void abortPath() { m_path.reset(); m_pathOpen = false; }
    void closeFigure();
    // The closed path as the clipping, combined by the modes of
    // selectClipRegion.
    void selectClipPath(int mode);
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
        int rop2 = 13;
        QPointF position;
        std::optional<QPainterPath> clip; // in image coordinates
    };

    QTransform pageToDevice() const;
    QTransform toImage() const { return m_dc.world * pageToDevice() * m_deviceToImage; }
    double imageScale() const;
    QPen qpen() const;
    QBrush qbrush() const { return qbrush(m_dc.brush); }
    QBrush qbrush(const GdiBrush& brush) const;
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
    // Fills a shape in image coordinates with the brush, the background of
    // a hatched one first when it is opaque, and strokes it with the pen,
    // combined with the picture by the binary raster operation.
    void paintShape(const QPainterPath& mapped, bool fill, const QPen& pen);
    using Painting = std::function<void(QPainter&)>;
    // Combines, within bounds (image coordinates) and the clipping, what
    // pattern and source paint with the picture by the ternary operation
    // whose truth table is rop. Where the source paints (or the pattern,
    // without a source) the result is written; see gdi_painter.cpp for
    // pixels of the picture that are still transparent.
    void rasterOp(const QRectF& bounds, std::uint8_t rop, const Painting& pattern, const Painting& source);
    // The same within one band of rows of the image, the painter ended.
    void combineBand(const QRect& rect, std::uint8_t rop, const Painting& pattern, const Painting& source);
    // The clipping combined with an area in image coordinates, by the modes
    // of selectClipRegion.
    void combineClip(const QPainterPath& area, int mode);
    void finishPath(bool fill, bool stroke);
    QPainterPath arcPath(ArcKind kind, const QRectF& rect, QPointF start, QPointF end) const;
    void storeSelected(const GdiObject& object);
    // Begins the painter on the picture with the rendering a metafile's
    // pixels need (after a raster operation wrote them directly).
    void startPainting();

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
    // Transparent pixels whose colour depends on the ground under the
    // picture, by their place: the colour on white and on black.
    std::unordered_map<qsizetype, std::pair<QRgb, QRgb>> m_groundDependent;
    bool m_pathOpen = false;
};

} // namespace pictures
