#include "pictures/gdi_painter.h"

#include "base/byte_reader.h"
#include "base/code_page.h"
#include "pictures/drawing_budget.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pictures {

namespace {

// The saved states a metafile may stack up; beyond this a save is ignored,
// so that a file of nothing but saves cannot fill the memory.
constexpr std::size_t SavedStatesAtMost = 1024;
// Pens wider than this many pixels are bad data, not a reason to stroke for
// minutes.
constexpr double WidestPen = 1000;
constexpr std::uint32_t StockObject = 0x80000000u;

bool finite(double v) { return std::isfinite(v); }

// The system's stock objects, by their place without the high bit.
GdiObject stockObject(std::uint32_t index)
{
    const auto solid = [](QColor c) { return GdiBrush{.style = 0, .color = c}; };
    switch (index & ~StockObject) {
    case 0: return solid(Qt::white);
    case 1: return solid(QColor(0xC0, 0xC0, 0xC0));
    case 2: return solid(QColor(0x80, 0x80, 0x80));
    case 3: return solid(QColor(0x40, 0x40, 0x40));
    case 4: return solid(Qt::black);
    case 5: return GdiBrush{.style = 1};
    case 6: return GdiPen{.color = Qt::white};
    case 7: return GdiPen{.color = Qt::black};
    case 8: return GdiPen{.style = 5};
    case 10: case 11: case 16: return GdiFont{.face = QStringLiteral("Courier New")};
    case 12: case 13: case 14: case 17: return GdiFont{.face = QStringLiteral("MS Sans Serif")};
    default: return std::monostate{};
    }
}

// The ternary raster operation rop on the bits of a pattern, a source and
// the picture: each bit of the result is the bit of rop indexed by the three
// bits at its place.
std::uint32_t ternary(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d)
{
    std::uint32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        if (rop >> i & 1)
            result |= (i & 4 ? p : ~p) & (i & 2 ? s : ~s) & (i & 1 ? d : ~d);
    }
    return result & 0xFFFFFFu;
}

// Whether the operation's result depends on the pattern, the source or the
// picture: whether its truth table differs where only that bit does.
bool usesPattern(std::uint8_t rop) { return ((rop >> 4) ^ rop) & 0x0F; }
bool usesSource(std::uint8_t rop) { return ((rop >> 2) ^ rop) & 0x33; }

// A binary raster operation (1 to 16, on the pen or brush and the picture)
// as the ternary one that ignores the source.
std::uint8_t ternaryOf(int rop2)
{
    const int table = rop2 - 1;
    std::uint8_t rop = 0;
    for (int i = 0; i < 8; ++i) {
        const int pattern = i >> 2 & 1, picture = i & 1;
        if (table >> (pattern << 1 | picture) & 1)
            rop = static_cast<std::uint8_t>(rop | 1 << i);
    }
    return rop;
}

// The pixels whose colour may wait on the operations after the one that
// drew them (see rasterOp), at most; past this they stay transparent.
constexpr std::size_t GroundDependentAtMost = 1 << 20;
// The pixels of the layers of one band of a raster operation, at most.
constexpr int BandPixels = 1 << 18;
constexpr std::uint8_t TernaryPatCopy = 0xF0;
constexpr std::uint8_t TernarySrcCopy = 0xCC;
constexpr int CopyPen = 13;
constexpr int NoOperation = 11;

double nonZero(double v) { return (v == 0 || !finite(v)) ? 1 : v; }

// The parametric angle, in degrees, at which the radial through point meets
// the ellipse inscribed in rect.
double ellipseAngle(const QRectF& rect, QPointF point)
{
    const QPointF c = rect.center();
    const double rx = nonZero(rect.width() / 2);
    const double ry = nonZero(rect.height() / 2);
    return std::atan2(-(point.y() - c.y()) / ry, (point.x() - c.x()) / rx) * 180 / std::numbers::pi;
}

} // namespace

GdiFont ReadLogFont(const base::ByteReader& r, qsizetype at, bool wide)
{
    // Height, width, escapement, orientation and weight, then four bytes
    // of style and character set, four more, and the face name.
    const qsizetype field = wide ? 4 : 2;
    const auto number = [&](int index) { return wide ? r.i32(at + field * index) : r.i16(at + field * index); };
    const qsizetype flags = at + 5 * field;
    GdiFont font;
    font.height = number(0);
    font.escapement = number(2);
    font.weight = number(4);
    font.italic = r.u8(flags);
    font.underline = r.u8(flags + 1);
    font.strikeOut = r.u8(flags + 2);
    font.charSet = r.u8(flags + 3);
    // Up to 32 characters, ended by a zero or the record.
    const qsizetype face = flags + 8;
    if (wide) {
        for (qsizetype i = 0; i < 32 && r.has(face + 2 * i, 2) && r.u16(face + 2 * i) != 0; ++i)
            font.face.append(QChar(r.u16(face + 2 * i)));
    } else {
        QByteArray name;
        for (qsizetype i = 0; i < 32 && r.has(face + i, 1) && r.u8(face + i) != 0; ++i)
            name.append(static_cast<char>(r.u8(face + i)));
        font.face = GdiPainter::decodeText(name, font.charSet);
    }
    return font;
}

GdiPainter::GdiPainter(QImage& image, const QTransform& deviceToImage, QSizeF millimetresPerPixel, DrawingBudget& budget)
    : m_image(image), m_budget(budget), m_deviceToImage(deviceToImage), m_mmPerPixel(millimetresPerPixel)
{
    startPainting();
}

void GdiPainter::startPainting()
{
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

GdiPainter::~GdiPainter()
{
    // A pixel still waiting on the ground is a see-through colour when it is
    // lighter on white than on black by the same in every channel (a tile's
    // edge, its bitmaps smoothed): its opacity is what the ground changes
    // less, its colour the one on black. Any other (the ground inverted) has
    // no colour to show and stays transparent.
    m_painter.end();
    for (const auto& [place, results] : m_groundDependent) {
        auto& pixel = reinterpret_cast<QRgb*>(m_image.scanLine(int(place / m_image.width())))[place % m_image.width()];
        const auto [onWhite, onBlack] = results;
        const int lighter[] = {qRed(onWhite) - qRed(onBlack), qGreen(onWhite) - qGreen(onBlack), qBlue(onWhite) - qBlue(onBlack)};
        if (qAlpha(pixel) != 0 || std::ranges::any_of(lighter, [](int d) { return d < 0; }))
            continue;
        const int alpha = 255 - (lighter[0] + lighter[1] + lighter[2]) / 3;
        if (alpha > 0)
            pixel = qRgba(std::min(qRed(onBlack), alpha), std::min(qGreen(onBlack), alpha), std::min(qBlue(onBlack), alpha), alpha);
    }
}

void GdiPainter::setMapMode(int mode)
{
    if (mode >= Text && mode <= Anisotropic)
        m_dc.mapMode = mode;
}

void GdiPainter::setWindowOrg(QPointF org)
{
    if (finite(org.x()) && finite(org.y()))
        m_dc.windowOrg = org;
}

void GdiPainter::setWindowExt(QSizeF ext)
{
    if (ext.width() != 0 && ext.height() != 0 && finite(ext.width()) && finite(ext.height()))
        m_dc.windowExt = ext;
}

void GdiPainter::setViewportOrg(QPointF org)
{
    if (finite(org.x()) && finite(org.y()))
        m_dc.viewportOrg = org;
}

void GdiPainter::setViewportExt(QSizeF ext)
{
    if (ext.width() != 0 && ext.height() != 0 && finite(ext.width()) && finite(ext.height()))
        m_dc.viewportExt = ext;
}

void GdiPainter::scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom)
{
    setWindowExt(QSizeF(m_dc.windowExt.width() * xNum / nonZero(xDenom), m_dc.windowExt.height() * yNum / nonZero(yDenom)));
}

void GdiPainter::scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom)
{
    setViewportExt(QSizeF(m_dc.viewportExt.width() * xNum / nonZero(xDenom), m_dc.viewportExt.height() * yNum / nonZero(yDenom)));
}

void GdiPainter::setWorldTransform(const QTransform& transform)
{
    const bool usable = finite(transform.m11()) && finite(transform.m12()) && finite(transform.m21()) && finite(transform.m22())
                        && finite(transform.dx()) && finite(transform.dy());
    if (usable)
        m_dc.world = transform;
}

void GdiPainter::modifyWorldTransform(const QTransform& transform, int mode)
{
    switch (mode) {
    case 1: m_dc.world.reset(); break;
    case 2: setWorldTransform(transform * m_dc.world); break;
    case 3: setWorldTransform(m_dc.world * transform); break;
    case 4: setWorldTransform(transform); break;
    default: break;
    }
}

void GdiPainter::saveDC()
{
    if (m_saved.size() < SavedStatesAtMost)
        m_saved.push_back(m_dc);
}

void GdiPainter::restoreDC(int level)
{
    // A positive level names a state by its place from the first saved one.
    const auto count = static_cast<long long>(m_saved.size());
    const long long keep = level < 0 ? count + level : static_cast<long long>(level) - 1;
    if (keep < 0 || keep >= count)
        return;
    m_dc = m_saved[static_cast<std::size_t>(keep)];
    m_saved.resize(static_cast<std::size_t>(keep));
}

void GdiPainter::createObjectAt(std::uint32_t index, GdiObject object)
{
    if (index & StockObject)
        return;
    holdObject(object);
    m_objects[index] = std::move(object);
}

void GdiPainter::createObject(GdiObject object)
{
    holdObject(object);
    std::uint32_t place = m_nextPlace;
    if (!m_freePlaces.empty()) {
        place = *m_freePlaces.begin();
        m_freePlaces.erase(m_freePlaces.begin());
    } else {
        ++m_nextPlace;
    }
    m_objects[place] = std::move(object);
}

void GdiPainter::deleteObject(std::uint32_t index)
{
    if (m_objects.erase(index) && index < m_nextPlace)
        m_freePlaces.insert(index);
}

void GdiPainter::storeSelected(const GdiObject& object)
{
    if (const auto* pen = std::get_if<GdiPen>(&object))
        m_dc.pen = *pen;
    else if (const auto* brush = std::get_if<GdiBrush>(&object))
        m_dc.brush = *brush;
    else if (const auto* font = std::get_if<GdiFont>(&object))
        m_dc.font = *font;
    else if (const auto* region = std::get_if<GdiRegion>(&object))
        combineClip(toImage().map(region->area), 5); // selecting a region clips to it
}

void GdiPainter::selectObject(std::uint32_t index)
{
    if (index & StockObject)
        storeSelected(stockObject(index));
    else if (const auto it = m_objects.find(index); it != m_objects.end())
        storeSelected(it->second);
}

std::optional<GdiBrush> GdiPainter::brushObject(std::uint32_t index) const
{
    const auto it = m_objects.find(index);
    const GdiObject object = (index & StockObject) ? stockObject(index) : it != m_objects.end() ? it->second : GdiObject();
    if (const auto* brush = std::get_if<GdiBrush>(&object))
        return *brush;
    return std::nullopt;
}

std::optional<QPainterPath> GdiPainter::regionObject(std::uint32_t index) const
{
    const auto it = m_objects.find(index);
    if (it == m_objects.end())
        return std::nullopt;
    if (const auto* region = std::get_if<GdiRegion>(&it->second))
        return region->area;
    return std::nullopt;
}

QTransform GdiPainter::pageToDevice() const
{
    double sx = 1, sy = 1;
    switch (m_dc.mapMode) {
    case Isotropic:
    case Anisotropic:
        sx = m_dc.viewportExt.width() / m_dc.windowExt.width();
        sy = m_dc.viewportExt.height() / m_dc.windowExt.height();
        if (m_dc.mapMode == Isotropic) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    case Text:
        break;
    default: {
        // The metric and English modes have fixed units and y upwards.
        static constexpr double millimetres[] = {0.1, 0.01, 0.254, 0.0254, 25.4 / 1440};
        const double unit = millimetres[m_dc.mapMode - LoMetric];
        sx = unit / nonZero(m_mmPerPixel.width());
        sy = -unit / nonZero(m_mmPerPixel.height());
        break;
    }
    }
    if (!finite(sx) || !finite(sy))
        sx = sy = 1;
    return QTransform(sx, 0, 0, sy, m_dc.viewportOrg.x() - m_dc.windowOrg.x() * sx, m_dc.viewportOrg.y() - m_dc.windowOrg.y() * sy);
}

double GdiPainter::imageScale() const
{
    const QTransform t = toImage();
    const double s = std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
    return finite(s) ? s : 1;
}

QPen GdiPainter::qpen() const
{
    const GdiPen& p = m_dc.pen;
    const int style = p.style & 0x0F;
    if (style == 5)
        return Qt::NoPen;
    const double width = (p.cosmetic || p.width <= 0) ? 0 : std::clamp(p.width * imageScale(), 1.0, WidestPen);
    QPen pen(p.color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    // Styled lines exist for thin pens only; wider ones are drawn solid.
    if (width <= 1) {
        static constexpr Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
        if (style < 5)
            pen.setStyle(styles[style]);
        pen.setCosmetic(true);
    }
    return pen;
}

QBrush GdiPainter::qbrush(const GdiBrush& b) const
{
    switch (b.style) {
    case 0: return QBrush(b.color);
    case 2: {
        static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(b.color, b.hatch >= 0 && b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern);
    }
    case 3:
    case 5:
    case 6:
        return b.pattern.isNull() ? QBrush(b.color) : QBrush(b.pattern);
    default: return Qt::NoBrush;
    }
}

bool GdiPainter::begin(double work)
{
    if (m_dc.clip)
        work += DrawingBudget::clip(*m_dc.clip, m_image.size());
    if (!m_budget.take(work))
        return false;
    if (m_dc.clip)
        m_painter.setClipPath(*m_dc.clip);
    else
        m_painter.setClipping(false);
    return true;
}

void GdiPainter::holdObject(const GdiObject& object)
{
    // A pattern was decoded for the brush, and the table holds it.
    if (const auto* brush = std::get_if<GdiBrush>(&object))
        m_budget.take(DrawingBudget::decoded(brush->pattern.size()));
}

bool GdiPainter::solidBrush() const
{
    return qbrush().style() == Qt::SolidPattern;
}

double GdiPainter::shapeWork(const QPainterPath& mapped, bool filled, const QPen& pen) const
{
    double work = filled ? DrawingBudget::fill(mapped, solidBrush(), m_image.size()) : 0;
    if (pen.style() != Qt::NoPen)
        work += DrawingBudget::stroke(mapped, pen.isCosmetic() ? 0 : pen.widthF(), m_image.size());
    return work;
}

void GdiPainter::intersectClipRect(const QRectF& rect)
{
    if (m_dc.clip && !m_budget.take(DrawingBudget::clipChange(*m_dc.clip)))
        return;
    QPainterPath area;
    area.addPolygon(toImage().map(QPolygonF(rect.normalized())));
    area.closeSubpath();
    m_dc.clip = m_dc.clip ? m_dc.clip->intersected(area) : area;
}

void GdiPainter::excludeClipRect(const QRectF& rect)
{
    if (!m_budget.take(DrawingBudget::clipChange(m_dc.clip ? *m_dc.clip : QPainterPath())))
        return;
    QPainterPath area;
    area.addPolygon(toImage().map(QPolygonF(rect.normalized())));
    area.closeSubpath();
    QPainterPath whole;
    whole.addRect(QRectF(m_image.rect()));
    m_dc.clip = (m_dc.clip ? *m_dc.clip : whole).subtracted(area);
}

void GdiPainter::resetClip() { m_dc.clip.reset(); }

void GdiPainter::combineClip(const QPainterPath& area, int mode)
{
    if (mode < 1 || mode > 5 || !m_budget.take(DrawingBudget::clipChange(m_dc.clip ? *m_dc.clip : area)))
        return;
    if (!m_dc.clip) {
        // Without clipping, a region taken away is taken from the whole
        // picture, and every other combination clips to the region alone.
        QPainterPath whole;
        whole.addRect(QRectF(m_image.rect()));
        m_dc.clip = mode == 4 ? whole.subtracted(area) : area;
        return;
    }
    const QPainterPath& current = *m_dc.clip;
    switch (mode) {
    case 1: m_dc.clip = current.intersected(area); break;
    case 2: m_dc.clip = current.united(area); break;
    case 3: m_dc.clip = current.united(area).subtracted(current.intersected(area)); break;
    case 4: m_dc.clip = current.subtracted(area); break;
    default: m_dc.clip = area; break;
    }
}

void GdiPainter::selectClipRegion(const std::optional<QPainterPath>& device, int mode)
{
    if (!device) {
        if (mode == 5)
            resetClip();
        return;
    }
    combineClip(m_deviceToImage.map(*device), mode);
}

void GdiPainter::selectClipObject(std::uint32_t index)
{
    if (const auto region = regionObject(index))
        combineClip(toImage().map(*region), 5);
    else
        resetClip();
}

void GdiPainter::fillRegion(const QPainterPath& region, const GdiBrush& brush)
{
    const QPainterPath mapped = toImage().map(region);
    const QBrush fill = qbrush(brush);
    if (fill.style() == Qt::NoBrush || !begin(DrawingBudget::fill(mapped, fill.style() == Qt::SolidPattern, m_image.size())))
        return;
    m_painter.fillPath(mapped, fill);
}

void GdiPainter::frameRegion(const QPainterPath& region, const GdiBrush& brush, QSizeF border)
{
    // What is left of the region moved by the border each way is its
    // inside; the frame is the rest.
    QPainterPath inside = region;
    const double w = std::abs(border.width()), h = std::abs(border.height());
    for (const QPointF by : {QPointF(w, 0), QPointF(-w, 0), QPointF(0, h), QPointF(0, -h)})
        inside = inside.intersected(region.translated(by));
    fillRegion(region.subtracted(inside), brush);
}

void GdiPainter::invertRegion(const QPainterPath& region)
{
    const QPainterPath mapped = toImage().map(region);
    if (!begin(DrawingBudget::fill(mapped, false, m_image.size())))
        return;
    rasterOp(mapped.boundingRect(), std::uint8_t(DstInvert >> 16), [&](QPainter& p) { p.fillPath(mapped, Qt::black); }, {});
}

void GdiPainter::setRop2(int mode)
{
    if (mode >= 1 && mode <= 16)
        m_dc.rop2 = mode;
}

// The picture's pixels are transparent where nothing has been drawn yet,
// where a screen would show whatever lies under the picture. An operation
// that reads such a pixel is worked out on both a white and a black ground:
// a result that is white on white and black on black is the ground showing
// through, and the pixel stays transparent (an exclusive or drawn twice
// leaves no trace); a result that is the same on both is drawn. Any other
// result depends on the ground (a picture or'ed onto it, to be and'ed with
// another next, as programs draw a picture with a transparent part): the
// pixel stays transparent, and the two results wait for the operations
// after it, which work on them in place of the ground.
void GdiPainter::rasterOp(const QRectF& bounds, std::uint8_t rop, const Painting& pattern, const Painting& source)
{
    QRect rect = bounds.toAlignedRect().adjusted(-1, -1, 1, 1) & m_image.rect();
    if (m_dc.clip)
        rect &= m_dc.clip->boundingRect().toAlignedRect();
    if (rect.isEmpty())
        return;
    // Band by band, so that the layers stay small however large the
    // picture.
    m_painter.end();
    const int rows = std::max(1, BandPixels / rect.width());
    for (int top = rect.top(); top <= rect.bottom(); top += rows)
        combineBand(QRect(rect.left(), top, rect.width(), std::min(rows, rect.bottom() + 1 - top)), rop, pattern, source);
    startPainting();
}

void GdiPainter::combineBand(const QRect& rect, std::uint8_t rop, const Painting& pattern, const Painting& source)
{
    const auto layer = [&](const Painting& paint) {
        QImage image(rect.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        if (paint) {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
            painter.translate(-rect.topLeft());
            if (m_dc.clip)
                painter.setClipPath(*m_dc.clip);
            painter.setBrushOrigin(0, 0);
            paint(painter);
        }
        return image;
    };
    const QImage p = layer(pattern);
    const QImage s = layer(source);
    const QImage& shape = source ? s : p;
    for (int y = 0; y < rect.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(rect.y() + y)) + rect.x();
        const auto* shapeRow = reinterpret_cast<const QRgb*>(shape.constScanLine(y));
        const auto* pRow = reinterpret_cast<const QRgb*>(p.constScanLine(y));
        const auto* sRow = reinterpret_cast<const QRgb*>(s.constScanLine(y));
        for (int x = 0; x < rect.width(); ++x) {
            if (qAlpha(shapeRow[x]) < 128)
                continue;
            const std::uint32_t brushBits = qUnpremultiply(pRow[x]), bitmapBits = qUnpremultiply(sRow[x]);
            const qsizetype place = qsizetype(rect.y() + y) * m_image.width() + rect.x() + x;
            const auto waiting = m_groundDependent.find(place);
            const bool waits = waiting != m_groundDependent.end();
            if (qAlpha(row[x]) != 0) {
                row[x] = 0xFF000000u | ternary(rop, brushBits, bitmapBits, qUnpremultiply(row[x]));
                if (waits)
                    m_groundDependent.erase(waiting);
                continue;
            }
            const std::uint32_t onWhite = ternary(rop, brushBits, bitmapBits, waits ? waiting->second.first : 0xFFFFFFu);
            const std::uint32_t onBlack = ternary(rop, brushBits, bitmapBits, waits ? waiting->second.second : 0);
            const bool ground = onWhite == 0xFFFFFFu && onBlack == 0;
            if (ground || onWhite == onBlack) {
                if (!ground)
                    row[x] = 0xFF000000u | onWhite;
                if (waits)
                    m_groundDependent.erase(waiting);
            } else if (waits) {
                waiting->second = {onWhite, onBlack};
            } else if (m_groundDependent.size() < GroundDependentAtMost) {
                m_groundDependent.emplace(place, std::pair{onWhite, onBlack});
            }
        }
    }
}

void GdiPainter::draw(const QPainterPath& logical, bool fill)
{
    QPainterPath mapped = toImage().map(logical);
    if (m_pathOpen && m_path) {
        // Drawing that goes on from where the path stands continues its
        // figure, so that a figure of lines can be closed and filled.
        const bool continues = !m_path->isEmpty() && !mapped.isEmpty() && m_path->currentPosition() == QPointF(mapped.elementAt(0));
        if (continues)
            m_path->connectPath(mapped);
        else
            m_path->addPath(mapped);
        return;
    }
    mapped.setFillRule(m_dc.winding ? Qt::WindingFill : Qt::OddEvenFill);
    paintShape(mapped, fill, qpen());
}

void GdiPainter::paintShape(const QPainterPath& mapped, bool fill, const QPen& pen)
{
    const bool filled = fill && m_dc.brush.style != 1;
    const bool hatchBackground = filled && m_dc.brush.style == 2 && m_dc.bkOpaque;
    if (m_dc.rop2 == NoOperation || (!filled && pen.style() == Qt::NoPen))
        return;
    if (!begin(shapeWork(mapped, filled, pen) + (hatchBackground ? DrawingBudget::fill(mapped, true, m_image.size()) : 0)))
        return;
    const auto paint = [&](QPainter& painter) {
        if (filled) {
            if (hatchBackground)
                painter.fillPath(mapped, m_dc.bkColor);
            painter.fillPath(mapped, qbrush());
        }
        if (pen.style() != Qt::NoPen)
            painter.strokePath(mapped, pen);
    };
    if (m_dc.rop2 == CopyPen) {
        paint(m_painter);
        return;
    }
    const double margin = pen.style() == Qt::NoPen ? 0 : std::max(1.0, pen.widthF());
    rasterOp(mapped.boundingRect().adjusted(-margin, -margin, margin, margin), ternaryOf(m_dc.rop2), paint, {});
}

void GdiPainter::lineTo(QPointF point)
{
    QPainterPath path(m_dc.position);
    path.lineTo(point);
    draw(path, false);
    m_dc.position = point;
}

void GdiPainter::polyline(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    draw(path, false);
}

void GdiPainter::polylineTo(const QPolygonF& points)
{
    if (points.isEmpty())
        return;
    QPainterPath path(m_dc.position);
    for (const QPointF& p : points)
        path.lineTo(p);
    draw(path, false);
    m_dc.position = points.last();
}

void GdiPainter::polyBezier(const QPolygonF& points)
{
    if (points.size() < 4)
        return;
    QPainterPath path(points[0]);
    for (qsizetype i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    draw(path, false);
}

void GdiPainter::polyBezierTo(const QPolygonF& points)
{
    if (points.size() < 3)
        return;
    QPainterPath path(m_dc.position);
    qsizetype i = 0;
    for (; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    draw(path, false);
    m_dc.position = points[i - 1];
}

void GdiPainter::polygon(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.addPolygon(points);
    path.closeSubpath();
    draw(path, true);
}

void GdiPainter::polyPolygon(const std::vector<QPolygonF>& polygons)
{
    QPainterPath path;
    for (const QPolygonF& p : polygons) {
        path.addPolygon(p);
        path.closeSubpath();
    }
    draw(path, true);
}

void GdiPainter::polyPolyline(const std::vector<QPolygonF>& polylines)
{
    QPainterPath path;
    for (const QPolygonF& p : polylines)
        path.addPolygon(p);
    draw(path, false);
}

void GdiPainter::rectangle(const QRectF& rect)
{
    QPainterPath path;
    path.addRect(rect.normalized());
    draw(path, true);
}

void GdiPainter::roundRect(const QRectF& rect, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(rect.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    draw(path, true);
}

void GdiPainter::ellipse(const QRectF& rect)
{
    QPainterPath path;
    path.addEllipse(rect.normalized());
    draw(path, true);
}

QPainterPath GdiPainter::arcPath(ArcKind kind, const QRectF& box, QPointF start, QPointF end) const
{
    const QRectF rect = box.normalized();
    const double from = ellipseAngle(rect, start);
    double sweep = ellipseAngle(rect, end) - from;
    // Arcs run counter-clockwise on the screen; a mapping that mirrors one
    // axis turns that direction round in logical coordinates.
    const QTransform t = toImage();
    if (t.m11() * t.m22() - t.m12() * t.m21() >= 0) {
        if (sweep <= 0)
            sweep += 360;
    } else if (sweep >= 0) {
        sweep -= 360;
    }
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(rect.center());
        path.arcTo(rect, from, sweep);
        path.closeSubpath();
    } else {
        if (kind == ArcKind::ArcTo)
            path.moveTo(m_dc.position);
        else
            path.arcMoveTo(rect, from);
        path.arcTo(rect, from, sweep);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    return path;
}

void GdiPainter::arc(ArcKind kind, const QRectF& rect, QPointF start, QPointF end)
{
    const QPainterPath path = arcPath(kind, rect, start, end);
    draw(path, kind == ArcKind::Chord || kind == ArcKind::Pie);
    if (kind == ArcKind::ArcTo)
        m_dc.position = path.currentPosition();
}

void GdiPainter::angleArc(QPointF centre, double radius, double startDegrees, double sweepDegrees)
{
    if (!finite(startDegrees) || !finite(sweepDegrees))
        return;
    const QRectF rect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    QPainterPath path(m_dc.position);
    path.arcTo(rect, startDegrees, std::clamp(sweepDegrees, -360.0, 360.0));
    draw(path, false);
    m_dc.position = path.currentPosition();
}

void GdiPainter::setPixel(QPointF point, QColor color)
{
    if (!begin(1))
        return;
    const QPointF p = toImage().map(point);
    m_painter.fillRect(QRectF(std::floor(p.x()), std::floor(p.y()), 1, 1), color);
}

QString GdiPainter::decodeText(const QByteArray& bytes, int charSet)
{
    const char* page = "windows-1252";
    switch (charSet) {
    case 128: page = "Shift_JIS"; break;
    case 161: page = "windows-1253"; break;
    case 162: page = "windows-1254"; break;
    case 177: page = "windows-1255"; break;
    case 178: page = "windows-1256"; break;
    case 186: page = "windows-1257"; break;
    case 204: page = "windows-1251"; break;
    case 238: page = "windows-1250"; break;
    default: break;
    }
    return base::CodePage(QString::fromLatin1(page)).decode(bytes);
}

void GdiPainter::textOut(QPointF point, const QString& text, std::optional<QRectF> rect, int options)
{
    const QTransform t = toImage();
    const bool updatePosition = m_dc.textAlign & 1;
    const QPointF at = t.map(updatePosition ? m_dc.position : point);
    QPainterPath box;
    if (rect) {
        box.addPolygon(t.map(QPolygonF(rect->normalized())));
        box.closeSubpath();
        if (options & 2) {
            if (!begin(DrawingBudget::fill(box, true, m_image.size())))
                return;
            m_painter.fillPath(box, m_dc.bkColor);
        }
    }
    if (text.isEmpty())
        return;

    // The font's height is in logical units along the page's vertical.
    const double scaleY = std::hypot(t.m21(), t.m22());
    QFont font(m_dc.font.face.isEmpty() ? QStringLiteral("MS Sans Serif") : m_dc.font.face);
    double pixels = std::abs(m_dc.font.height) * (finite(scaleY) ? scaleY : 1);
    if (m_dc.font.height > 0) {
        // A positive height is the whole cell, ascent and descent.
        font.setPixelSize(100);
        const QFontMetricsF probe(font);
        pixels *= 100 / std::max(1.0, probe.ascent() + probe.descent());
    } else if (m_dc.font.height == 0) {
        pixels = 13;
    }
    if (!finite(pixels))
        pixels = 13;
    font.setPixelSize(static_cast<int>(std::clamp(std::round(pixels), 1.0, 2000.0)));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(m_dc.font.weight == 0 ? 400 : m_dc.font.weight, 100, 900)));
    font.setItalic(m_dc.font.italic);
    font.setUnderline(m_dc.font.underline);
    font.setStrikeOut(m_dc.font.strikeOut);
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);

    double dx = 0;
    switch (m_dc.textAlign & 6) {
    case 2: dx = -width; break;
    case 6: dx = -width / 2; break;
    default: break;
    }
    double dy = metrics.ascent();
    if ((m_dc.textAlign & 24) == 24)
        dy = 0;
    else if (m_dc.textAlign & 8)
        dy = -metrics.descent();

    // The text's own place, turned by its escapement, onto the image.
    QTransform placed;
    placed.translate(at.x(), at.y());
    placed.rotate(-(finite(m_dc.font.escapement) ? m_dc.font.escapement : 0) / 10);
    const QRectF cell(dx, dy - metrics.ascent(), width, metrics.ascent() + metrics.descent());
    const bool background = m_dc.bkOpaque && !(options & 2);
    const QPolygonF inked = placed.map(QPolygonF(cell));
    double work = DrawingBudget::text(inked, text.size(), m_image.size());
    if (background) {
        QPainterPath under;
        under.addPolygon(inked);
        work += DrawingBudget::fill(under, true, m_image.size());
    }
    if (!begin(work))
        return;
    if (rect && (options & 4))
        m_painter.setClipPath(box, m_dc.clip ? Qt::IntersectClip : Qt::ReplaceClip);
    m_painter.save();
    m_painter.setTransform(placed);
    if (background)
        m_painter.fillRect(cell, m_dc.bkColor);
    m_painter.setFont(font);
    m_painter.setPen(m_dc.textColor);
    m_painter.drawText(QPointF(dx, dy), text);
    m_painter.restore();

    if (updatePosition) {
        const double scaleX = std::hypot(t.m11(), t.m12());
        m_dc.position.rx() += width / (finite(scaleX) && scaleX > 0 ? scaleX : 1);
    }
}

void GdiPainter::drawBitmap(const QRectF& dest, QRectF source, const QImage& bitmap, std::uint32_t rop, double opacity)
{
    if (bitmap.isNull() || source.width() == 0 || source.height() == 0)
        return;
    // The source rectangle onto the destination, then onto the image.
    const QTransform placed = QTransform::fromScale(dest.width() / source.width(), dest.height() / source.height())
                              * QTransform::fromTranslate(dest.left(), dest.top()) * toImage();
    const QPolygonF place = placed.map(QPolygonF(QRectF(QPointF(0, 0), source.size())));
    const bool stretched = placed.type() > QTransform::TxTranslate;
    if (!begin(DrawingBudget::decoded(bitmap.size()) + DrawingBudget::bitmap(place, stretched, m_image.size())))
        return;
    const auto paint = [&](QPainter& painter) {
        painter.save();
        painter.setTransform(placed, true);
        painter.setOpacity(std::clamp(opacity, 0.0, 1.0));
        painter.drawImage(QPointF(0, 0), bitmap, source);
        painter.restore();
    };
    const auto rop3 = static_cast<std::uint8_t>(rop >> 16);
    if (rop3 == TernarySrcCopy) {
        paint(m_painter);
        return;
    }
    QPainterPath area;
    area.addPolygon(place);
    area.closeSubpath();
    const QBrush brush = qbrush();
    rasterOp(area.boundingRect(), rop3, [&](QPainter& painter) { painter.fillPath(area, usesPattern(rop3) ? brush : QBrush(Qt::black)); },
             usesSource(rop3) ? Painting(paint) : Painting([&](QPainter& painter) { painter.fillPath(area, Qt::black); }));
}

void GdiPainter::patBlt(const QRectF& dest, std::uint32_t rop)
{
    QPainterPath path;
    path.addRect(dest.normalized());
    const QPainterPath mapped = toImage().map(path);
    const auto rop3 = static_cast<std::uint8_t>(rop >> 16);
    const bool brush = usesPattern(rop3);
    // A pattern of no brush is no painting.
    if ((brush && m_dc.brush.style == 1) || !begin(DrawingBudget::fill(mapped, !brush || solidBrush(), m_image.size())))
        return;
    const QBrush fill = brush ? qbrush() : QBrush(Qt::black);
    if (rop3 == TernaryPatCopy) {
        m_painter.fillPath(mapped, fill);
        return;
    }
    rasterOp(mapped.boundingRect(), rop3, [&](QPainter& painter) { painter.fillPath(mapped, fill); }, {});
}

void GdiPainter::beginPath()
{
    m_path.emplace();
    m_pathOpen = true;
}

void GdiPainter::selectClipPath(int mode)
{
    if (!m_path || m_pathOpen)
        return;
    QPainterPath area = *m_path;
    m_path.reset();
    area.setFillRule(m_dc.winding ? Qt::WindingFill : Qt::OddEvenFill);
    combineClip(area.simplified(), mode);
}

void GdiPainter::closeFigure()
{
    if (m_path && m_pathOpen)
        m_path->closeSubpath();
}

void GdiPainter::finishPath(bool fill, bool stroke)
{
    if (!m_path || m_pathOpen)
        return;
    QPainterPath path = *m_path;
    m_path.reset();
    path.setFillRule(m_dc.winding ? Qt::WindingFill : Qt::OddEvenFill);
    paintShape(path, fill, stroke ? qpen() : QPen(Qt::NoPen));
}

} // namespace pictures
