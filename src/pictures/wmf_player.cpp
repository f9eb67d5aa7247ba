#include "pictures/wmf_player.h"

#include "base/byte_reader.h"
#include "base/failure.h"
#include "pictures/dib.h"
#include "pictures/drawing_budget.h"
#include "pictures/gdi_painter.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

constexpr quint32 PlaceableKey = 0x9AC6CDD7u;
constexpr qsizetype PlaceableSize = 22;
// The largest side of a picture drawn from a metafile, in pixels.
constexpr int LargestSide = 8192;

// The records' functions, by the names the format's documentation gives
// them (META_SETBKCOLOR is SetBkColor). The high byte of most is the count of
// their parameter words.
enum class Meta : quint16 {
    Eof = 0x0000,
    SaveDc = 0x001E,
    RealizePalette = 0x0035,
    SetPalEntries = 0x0037,
    CreatePalette = 0x00F7,
    SetBkMode = 0x0102,
    SetMapMode = 0x0103,
    SetRop2 = 0x0104,
    SetRelAbs = 0x0105,
    SetPolyFillMode = 0x0106,
    SetStretchBltMode = 0x0107,
    SetTextCharExtra = 0x0108,
    RestoreDc = 0x0127,
    InvertRegion = 0x012A,
    PaintRegion = 0x012B,
    SelectClipRegion = 0x012C,
    SelectObject = 0x012D,
    SetTextAlign = 0x012E,
    ResizePalette = 0x0139,
    DibCreatePatternBrush = 0x0142,
    SetLayout = 0x0149,
    DeleteObject = 0x01F0,
    CreatePatternBrush = 0x01F9,
    SetBkColor = 0x0201,
    SetTextColor = 0x0209,
    SetTextJustification = 0x020A,
    SetWindowOrg = 0x020B,
    SetWindowExt = 0x020C,
    SetViewportOrg = 0x020D,
    SetViewportExt = 0x020E,
    OffsetWindowOrg = 0x020F,
    OffsetViewportOrg = 0x0211,
    LineTo = 0x0213,
    MoveTo = 0x0214,
    OffsetClipRgn = 0x0220,
    FillRegion = 0x0228,
    SetMapperFlags = 0x0231,
    SelectPalette = 0x0234,
    CreatePenIndirect = 0x02FA,
    CreateFontIndirect = 0x02FB,
    CreateBrushIndirect = 0x02FC,
    Polygon = 0x0324,
    Polyline = 0x0325,
    ScaleWindowExt = 0x0410,
    ScaleViewportExt = 0x0412,
    ExcludeClipRect = 0x0415,
    IntersectClipRect = 0x0416,
    Ellipse = 0x0418,
    FloodFill = 0x0419,
    Rectangle = 0x041B,
    SetPixel = 0x041F,
    FrameRegion = 0x0429,
    AnimatePalette = 0x0436,
    TextOut = 0x0521,
    PolyPolygon = 0x0538,
    ExtFloodFill = 0x0548,
    RoundRect = 0x061C,
    PatBlt = 0x061D,
    Escape = 0x0626,
    CreateRegion = 0x06FF,
    Arc = 0x0817,
    Pie = 0x081A,
    Chord = 0x0830,
    BitBlt = 0x0922,
    DibBitBlt = 0x0940,
    ExtTextOut = 0x0A32,
    StretchBlt = 0x0B23,
    DibStretchBlt = 0x0B41,
    SetDibToDev = 0x0D33,
    StretchDib = 0x0F43,
};

QColor colorAt(const base::ByteReader& r, qsizetype offset)
{
    return QColor(r.u8(offset), r.u8(offset + 1), r.u8(offset + 2));
}

// Parameters are 16-bit words after the record's size and function.
qint16 word(const base::ByteReader& r, int index) { return r.i16(6 + 2 * index); }

// Points and rectangles are stored y before x, bottom-right before top-left.
QPointF pointAt(const base::ByteReader& r, int index) { return QPointF(word(r, index + 1), word(r, index)); }

QRectF rectAt(const base::ByteReader& r, int index)
{
    return QRectF(QPointF(word(r, index + 3), word(r, index + 2)), QPointF(word(r, index + 1), word(r, index)));
}

QPolygonF pointsAt(const base::ByteReader& r, qsizetype offset, int count)
{
    if (!r.has(offset, qsizetype(count) * 4))
        throw base::Failure(QStringLiteral("points beyond the record"));
    QPolygonF points;
    points.reserve(count);
    for (int i = 0; i < count; ++i)
        points.append(QPointF(r.i16(offset + 4 * i), r.i16(offset + 4 * i + 2)));
    return points;
}

// The source rectangle of a bitmap record, given bottom-up as the bitmap
// stores its rows, as rows from the top of the decoded picture.
QRectF sourceFromTop(const QImage& bitmap, double x, double y, double w, double h)
{
    return QRectF(x, bitmap.height() - y - h, w, h);
}

// An old device-dependent bitmap: one plane of one, 24 or 32 bits a pixel.
QImage bitmap16(const base::ByteReader& r, qsizetype offset)
{
    const int width = r.i16(offset + 2);
    const int height = r.i16(offset + 4);
    const int rowBytes = r.i16(offset + 6);
    const int bits = r.u8(offset + 9);
    if (width <= 0 || height <= 0 || width > LargestSide || height > LargestSide || rowBytes <= 0)
        return {};
    const qsizetype data = offset + 10;
    if (!r.has(data, qsizetype(rowBytes) * height))
        return {};
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        const qsizetype row = data + qsizetype(rowBytes) * y;
        for (int x = 0; x < width; ++x) {
            QRgb pixel = 0;
            if (bits == 1 && x / 8 < rowBytes)
                pixel = (r.u8(row + x / 8) & (0x80 >> (x % 8))) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            else if ((bits == 24 || bits == 32) && (x + 1) * (bits / 8) <= rowBytes)
                pixel = qRgb(r.u8(row + x * (bits / 8) + 2), r.u8(row + x * (bits / 8) + 1), r.u8(row + x * (bits / 8)));
            else
                return {};
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

// A region object: after its header (the chain, kind, count, size, scans'
// count, widest scan and bounds) its scans, each a band of rows from top to
// bottom holding pairs of left and right edges.
QPainterPath regionAt(const base::ByteReader& r)
{
    const int scans = r.u16(16);
    QPainterPath area;
    area.setFillRule(Qt::WindingFill);
    qsizetype at = 28;
    for (int i = 0; i < scans; ++i) {
        const int edges = r.u16(at);
        const double top = r.i16(at + 2), bottom = r.i16(at + 4);
        for (int k = 0; k + 1 < edges; k += 2)
            area.addRect(QRectF(QPointF(r.i16(at + 6 + 2 * k), top), QPointF(r.i16(at + 8 + 2 * k), bottom)).normalized());
        at += 8 + qsizetype(edges) * 2;
    }
    return area;
}

// Modes, colours, the window and viewport, saved states and clipping.
bool playState(GdiPainter& dc, Meta function, const base::ByteReader& r)
{
    switch (function) {
    case Meta::SetBkColor: dc.setBkColor(colorAt(r, 6)); break;
    case Meta::SetBkMode: dc.setBkMode(word(r, 0)); break;
    case Meta::SetMapMode: dc.setMapMode(word(r, 0)); break;
    case Meta::SetPolyFillMode: dc.setPolyFillMode(word(r, 0)); break;
    case Meta::SetTextColor: dc.setTextColor(colorAt(r, 6)); break;
    case Meta::SetTextAlign: dc.setTextAlign(r.u16(6)); break;
    case Meta::SetWindowOrg: dc.setWindowOrg(pointAt(r, 0)); break;
    case Meta::SetWindowExt: dc.setWindowExt(QSizeF(word(r, 1), word(r, 0))); break;
    case Meta::SetViewportOrg: dc.setViewportOrg(pointAt(r, 0)); break;
    case Meta::SetViewportExt: dc.setViewportExt(QSizeF(word(r, 1), word(r, 0))); break;
    case Meta::OffsetWindowOrg: dc.offsetWindowOrg(pointAt(r, 0)); break;
    case Meta::OffsetViewportOrg: dc.offsetViewportOrg(pointAt(r, 0)); break;
    case Meta::ScaleWindowExt: dc.scaleWindowExt(word(r, 3), word(r, 2), word(r, 1), word(r, 0)); break;
    case Meta::ScaleViewportExt: dc.scaleViewportExt(word(r, 3), word(r, 2), word(r, 1), word(r, 0)); break;
    case Meta::SaveDc: dc.saveDC(); break;
    case Meta::RestoreDc: dc.restoreDC(word(r, 0)); break;
    case Meta::ExcludeClipRect: dc.excludeClipRect(rectAt(r, 0)); break;
    case Meta::IntersectClipRect: dc.intersectClipRect(rectAt(r, 0)); break;
    case Meta::SelectClipRegion: dc.selectClipObject(r.u16(6)); break;
    case Meta::SetRop2: dc.setRop2(word(r, 0)); break;
    default: return false;
    }
    return true;
}

// The object a record makes; throws Failure when the record is cut short.
GdiObject objectOf(Meta function, const base::ByteReader& r)
{
    switch (function) {
    case Meta::CreatePenIndirect: return GdiPen{.style = r.u16(6), .width = double(r.i16(8)), .color = colorAt(r, 12)};
    case Meta::CreateBrushIndirect: return GdiBrush{.style = r.u16(6), .color = colorAt(r, 8), .hatch = r.u16(12)};
    case Meta::DibCreatePatternBrush: return GdiBrush{.style = 3, .color = Qt::black, .pattern = DecodeDib(r.bytes(10, r.size() - 10))};
    case Meta::CreateFontIndirect: return ReadLogFont(r, 6, false);
    case Meta::CreateRegion: return GdiRegion{regionAt(r)};
    default: return std::monostate{}; // palettes and old pattern brushes
    }
}

// Pens, brushes, fonts and regions made, selected and deleted.
bool playObject(GdiPainter& dc, Meta function, const base::ByteReader& r)
{
    switch (function) {
    case Meta::SelectObject: dc.selectObject(r.u16(6)); break;
    case Meta::DeleteObject: dc.deleteObject(r.u16(6)); break;
    case Meta::CreatePenIndirect:
    case Meta::CreateBrushIndirect:
    case Meta::DibCreatePatternBrush:
    case Meta::CreateFontIndirect:
    case Meta::CreateRegion:
    case Meta::CreatePalette:
    case Meta::CreatePatternBrush: {
        // Objects are found by their place in the table: one that cannot
        // be read still takes its place, so that the places of those made
        // after it stay right.
        GdiObject object;
        base::SkipOnFailure([&] { object = objectOf(function, r); });
        dc.createObject(std::move(object));
        break;
    }
    default: return false;
    }
    return true;
}

// Regions at places of the table, filled, framed, inverted and painted.
bool playRegion(GdiPainter& dc, Meta function, const base::ByteReader& r)
{
    const auto region = [&] { return dc.regionObject(r.u16(6)); };
    switch (function) {
    case Meta::FillRegion: {
        const auto brush = dc.brushObject(r.u16(8));
        if (const auto area = region(); area && brush)
            dc.fillRegion(*area, *brush);
        break;
    }
    case Meta::FrameRegion: {
        const auto brush = dc.brushObject(r.u16(8));
        if (const auto area = region(); area && brush)
            dc.frameRegion(*area, *brush, QSizeF(word(r, 3), word(r, 2)));
        break;
    }
    case Meta::InvertRegion:
        if (const auto area = region())
            dc.invertRegion(*area);
        break;
    case Meta::PaintRegion:
        if (const auto area = region())
            dc.paintRegion(*area);
        break;
    default: return false;
    }
    return true;
}

// Lines, shapes and pixels.
bool playDrawing(GdiPainter& dc, Meta function, const base::ByteReader& r)
{
    switch (function) {
    case Meta::MoveTo: dc.moveTo(pointAt(r, 0)); break;
    case Meta::LineTo: dc.lineTo(pointAt(r, 0)); break;
    case Meta::Polyline: dc.polyline(pointsAt(r, 8, r.u16(6))); break;
    case Meta::Polygon: dc.polygon(pointsAt(r, 8, r.u16(6))); break;
    case Meta::PolyPolygon: {
        const int polygons = r.u16(6);
        std::vector<QPolygonF> all;
        qsizetype points = 8 + qsizetype(polygons) * 2;
        for (int i = 0; i < polygons; ++i) {
            const int count = r.u16(8 + 2 * i);
            all.push_back(pointsAt(r, points, count));
            points += qsizetype(count) * 4;
        }
        dc.polyPolygon(all);
        break;
    }
    case Meta::Rectangle: dc.rectangle(rectAt(r, 0)); break;
    case Meta::RoundRect: dc.roundRect(rectAt(r, 2), QSizeF(word(r, 1), word(r, 0))); break;
    case Meta::Ellipse: dc.ellipse(rectAt(r, 0)); break;
    case Meta::Arc: dc.arc(GdiPainter::ArcKind::Arc, rectAt(r, 4), pointAt(r, 2), pointAt(r, 0)); break;
    case Meta::Pie: dc.arc(GdiPainter::ArcKind::Pie, rectAt(r, 4), pointAt(r, 2), pointAt(r, 0)); break;
    case Meta::Chord: dc.arc(GdiPainter::ArcKind::Chord, rectAt(r, 4), pointAt(r, 2), pointAt(r, 0)); break;
    case Meta::SetPixel: dc.setPixel(pointAt(r, 2), colorAt(r, 6)); break;
    default: return false;
    }
    return true;
}

bool playText(GdiPainter& dc, Meta function, const base::ByteReader& r)
{
    switch (function) {
    case Meta::TextOut: {
        const int length = std::max<int>(0, word(r, 0));
        const qsizetype padded = (length + 1) / 2 * 2;
        const QString text = GdiPainter::decodeText(r.bytes(8, length), 0);
        dc.textOut(QPointF(r.i16(8 + padded + 2), r.i16(8 + padded)), text);
        break;
    }
    case Meta::ExtTextOut: {
        const QPointF at(word(r, 1), word(r, 0));
        const int length = std::max<int>(0, word(r, 2));
        const int options = r.u16(12);
        qsizetype text = 14;
        std::optional<QRectF> rect;
        if (options & 6) {
            rect = QRectF(QPointF(r.i16(14), r.i16(16)), QPointF(r.i16(18), r.i16(20)));
            text += 8;
        }
        dc.textOut(at, GdiPainter::decodeText(r.bytes(text, length), 0), rect, options);
        break;
    }
    default: return false;
    }
    return true;
}

// A block transfer of a DIB or of an old device-dependent bitmap, at its own
// size or stretched.
void bitBlt(GdiPainter& dc, Meta function, const base::ByteReader& r)
{
    const bool stretched = function == Meta::DibStretchBlt || function == Meta::StretchBlt;
    const std::uint32_t rop = r.u32(6);
    // Without a bitmap the record holds a word more before the destination,
    // and the rectangle is filled by the brush. The function's high byte
    // counts the words after the function in such a record.
    const bool noBitmap = r.size() == qsizetype((quint16(function) >> 8) + 3) * 2;
    const int d = (stretched ? 6 : 4) + (noBitmap ? 1 : 0);
    const QRectF dest(word(r, d + 3), word(r, d + 2), word(r, d + 1), word(r, d));
    if (noBitmap) {
        dc.patBlt(dest, rop);
        return;
    }
    const QPointF source = stretched ? pointAt(r, 4) : pointAt(r, 2);
    const QSizeF size = stretched ? QSizeF(word(r, 3), word(r, 2)) : dest.size();
    const qsizetype bitmapAt = 6 + 2 * (d + 4);
    if (function == Meta::BitBlt || function == Meta::StretchBlt) {
        dc.drawBitmap(dest, QRectF(source, size), bitmap16(r, bitmapAt), rop);
    } else {
        const QImage bitmap = DecodeDib(r.bytes(bitmapAt, r.size() - bitmapAt));
        dc.drawBitmap(dest, sourceFromTop(bitmap, source.x(), source.y(), size.width(), size.height()), bitmap, rop);
    }
}

bool playBitmap(GdiPainter& dc, Meta function, const base::ByteReader& r)
{
    switch (function) {
    case Meta::PatBlt: {
        const std::uint32_t rop = r.u32(6);
        dc.patBlt(QRectF(word(r, 5), word(r, 4), word(r, 3), word(r, 2)), rop);
        break;
    }
    case Meta::DibBitBlt:
    case Meta::DibStretchBlt:
    case Meta::BitBlt:
    case Meta::StretchBlt:
        bitBlt(dc, function, r);
        break;
    case Meta::SetDibToDev: { // at its own size, from a first scan line
        const QImage bitmap = DecodeDib(r.bytes(24, r.size() - 24));
        const QSizeF size(word(r, 6), word(r, 5));
        dc.drawBitmap(QRectF(QPointF(word(r, 8), word(r, 7)), size), sourceFromTop(bitmap, word(r, 4), word(r, 3), size.width(), size.height()), bitmap,
                      SrcCopy);
        break;
    }
    case Meta::StretchDib: { // with its colour use
        const std::uint32_t rop = r.u32(6);
        const QRectF dest(word(r, 10), word(r, 9), word(r, 8), word(r, 7));
        const QImage bitmap = DecodeDib(r.bytes(28, r.size() - 28));
        dc.drawBitmap(dest, sourceFromTop(bitmap, word(r, 6), word(r, 5), word(r, 4), word(r, 3)), bitmap, rop);
        break;
    }
    default: return false;
    }
    return true;
}

} // namespace

bool WmfPlayer::recognises(const QByteArray& bytes)
{
    const base::ByteReader file(bytes);
    return file.has(0, 4) && file.u32(0) == PlaceableKey;
}

QImage WmfPlayer::draw(const QByteArray& bytes)
{
    DrawingBudget budget;
    return draw(bytes, budget);
}

QSize WmfPlayer::size(const QByteArray& bytes)
{
    const base::ByteReader file(bytes);
    const QRectF box(QPointF(file.i16(6), file.i16(8)), QPointF(file.i16(10), file.i16(12)));
    const int unitsPerInch = file.u16(14);
    // The header after the placeable one: its own size in words.
    const int headerWords = file.u16(PlaceableSize + 2);
    if (unitsPerInch == 0 || headerWords < 9)
        throw base::Failure(QStringLiteral("not a metafile picture"));
    // The picture's size is the box at the screen's 96 dots an inch.
    const int width = static_cast<int>(std::lround(std::abs(box.width()) * 96.0 / unitsPerInch));
    const int height = static_cast<int>(std::lround(std::abs(box.height()) * 96.0 / unitsPerInch));
    if (width <= 0 || height <= 0 || width > LargestSide || height > LargestSide)
        throw base::Failure(QStringLiteral("metafile picture of no size or too large"));
    return QSize(width, height);
}

QImage WmfPlayer::draw(const QByteArray& bytes, DrawingBudget& budget)
{
    const base::ByteReader file(bytes);
    const QSize pictureSize = size(bytes);
    const QRectF box(QPointF(file.i16(6), file.i16(8)), QPointF(file.i16(10), file.i16(12)));
    const int headerWords = file.u16(PlaceableSize + 2);

    QImage image(pictureSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        GdiPainter dc(image, QTransform(), QSizeF(25.4 / 96, 25.4 / 96), budget);
        // The box fills the picture until the records set a window of their own.
        dc.setMapMode(GdiPainter::Anisotropic);
        dc.setWindowOrg(box.topLeft());
        dc.setWindowExt(box.size());
        dc.setViewportExt(QSizeF(pictureSize));
        WmfPlayer player(dc);
        qsizetype at = PlaceableSize + qsizetype(headerWords) * 2;
        while (file.has(at, 6) && budget.take(DrawingBudget::record())) {
            const qsizetype size = qsizetype(file.u32(at)) * 2;
            if (Meta(file.u16(at + 4)) == Meta::Eof || size < 6 || !file.has(at, size))
                break;
            base::SkipOnFailure([&] { player.play(file.sub(at, size)); });
            at += size;
        }
    }
    return image;
}

void WmfPlayer::play(const base::ByteReader& r)
{
    const auto function = Meta(r.u16(4));
    // Each family plays the records it knows; a record of none draws nothing
    // on a picture of its own.
    for (const auto family : {playState, playObject, playRegion, playDrawing, playText, playBitmap}) {
        if (family(m_dc, function, r))
            return;
    }
}

} // namespace pictures
