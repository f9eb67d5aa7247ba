#include "pictures/emf_player.h"

#include "base/byte_reader.h"
#include "base/failure.h"
#include "pictures/dib.h"
#include "pictures/drawing_budget.h"
#include "pictures/gdi_painter.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

constexpr quint32 Signature = 0x464D4520u; // " EMF"
constexpr int LargestSide = 8192;

// The record types, by the names the format's documentation gives them
// (EMR_POLYGON16 is Polygon16).
enum class Emr : quint32 {
    Header = 1,
    PolyBezier = 2,
    Polygon = 3,
    Polyline = 4,
    PolyBezierTo = 5,
    PolylineTo = 6,
    PolyPolyline = 7,
    PolyPolygon = 8,
    SetWindowExtEx = 9,
    SetWindowOrgEx = 10,
    SetViewportExtEx = 11,
    SetViewportOrgEx = 12,
    SetBrushOrgEx = 13,
    Eof = 14,
    SetPixelV = 15,
    SetMapperFlags = 16,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetRop2 = 20,
    SetStretchBltMode = 21,
    SetTextAlign = 22,
    SetColorAdjustment = 23,
    SetTextColor = 24,
    SetBkColor = 25,
    OffsetClipRgn = 26,
    MoveToEx = 27,
    SetMetaRgn = 28,
    ExcludeClipRect = 29,
    IntersectClipRect = 30,
    ScaleViewportExtEx = 31,
    ScaleWindowExtEx = 32,
    SaveDc = 33,
    RestoreDc = 34,
    SetWorldTransform = 35,
    ModifyWorldTransform = 36,
    SelectObject = 37,
    CreatePen = 38,
    CreateBrushIndirect = 39,
    DeleteObject = 40,
    AngleArc = 41,
    Ellipse = 42,
    Rectangle = 43,
    RoundRect = 44,
    Arc = 45,
    Chord = 46,
    Pie = 47,
    SelectPalette = 48,
    CreatePalette = 49,
    SetPaletteEntries = 50,
    ResizePalette = 51,
    RealizePalette = 52,
    ExtFloodFill = 53,
    LineTo = 54,
    ArcTo = 55,
    PolyDraw = 56,
    SetArcDirection = 57,
    SetMiterLimit = 58,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    FlattenPath = 65,
    WidenPath = 66,
    SelectClipPath = 67,
    AbortPath = 68,
    // Comments hold what other programs keep beside the drawing (EMF+
    // records among them); the drawing is in the records around them.
    Comment = 70,
    FillRgn = 71,
    FrameRgn = 72,
    InvertRgn = 73,
    PaintRgn = 74,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
    MaskBlt = 78,
    PlgBlt = 79,
    SetDiBitsToDevice = 80,
    StretchDiBits = 81,
    ExtCreateFontIndirectW = 82,
    ExtTextOutA = 83,
    ExtTextOutW = 84,
    // The poly records again, with points of 16 bits.
    PolyBezier16 = 85,
    Polygon16 = 86,
    Polyline16 = 87,
    PolyBezierTo16 = 88,
    PolylineTo16 = 89,
    PolyPolyline16 = 90,
    PolyPolygon16 = 91,
    PolyDraw16 = 92,
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
    PolyTextOutA = 96,
    PolyTextOutW = 97,
    SetIcmMode = 98,
    CreateColorSpace = 99,
    SetColorSpace = 100,
    DeleteColorSpace = 101,
    GlsRecord = 102,
    GlsBoundedRecord = 103,
    PixelFormat = 104,
    DrawEscape = 105,
    ExtEscape = 106,
    SmallTextOut = 108,
    ForceUfiMapping = 109,
    NamedEscape = 110,
    ColorCorrectPalette = 111,
    SetIcmProfileA = 112,
    SetIcmProfileW = 113,
    AlphaBlend = 114,
    SetLayout = 115,
    TransparentBlt = 116,
    GradientFill = 118,
    SetLinkedUfis = 119,
    SetTextJustification = 120,
    ColorMatchToTargetW = 121,
    CreateColorSpaceW = 122,
};

// ExtTextOut's and SmallTextOut's options: no rectangle follows the point,
// and the text is of 8-bit characters.
constexpr quint32 NoRect = 0x100;
constexpr quint32 SmallChars = 0x200;

QColor colorAt(const base::ByteReader& r, qsizetype offset) { return QColor(r.u8(offset), r.u8(offset + 1), r.u8(offset + 2)); }
QPointF pointAt(const base::ByteReader& r, qsizetype offset) { return QPointF(r.i32(offset), r.i32(offset + 4)); }
QSizeF sizeAt(const base::ByteReader& r, qsizetype offset) { return QSizeF(r.i32(offset), r.i32(offset + 4)); }
QRectF rectAt(const base::ByteReader& r, qsizetype offset) { return QRectF(pointAt(r, offset), pointAt(r, offset + 8)); }

QTransform transformAt(const base::ByteReader& r, qsizetype offset)
{
    return QTransform(r.f32(offset), r.f32(offset + 4), r.f32(offset + 8), r.f32(offset + 12), r.f32(offset + 16), r.f32(offset + 20));
}

// count points of 32 bits (wide) or 16 bits a coordinate.
QPolygonF pointsAt(const base::ByteReader& r, qsizetype offset, quint32 count, bool wide)
{
    const qsizetype each = wide ? 8 : 4;
    if (!r.has(offset, qsizetype(count) * each))
        throw base::Failure(QStringLiteral("points beyond the record"));
    QPolygonF points;
    points.reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i) {
        const qsizetype at = offset + qsizetype(i) * each;
        points.append(wide ? pointAt(r, at) : QPointF(r.i16(at), r.i16(at + 2)));
    }
    return points;
}

std::vector<QPolygonF> polyPolyAt(const base::ByteReader& r, bool wide)
{
    const quint32 polygons = r.u32(8 + 16);
    if (!r.has(32, qsizetype(polygons) * 4))
        throw base::Failure(QStringLiteral("counts beyond the record"));
    std::vector<QPolygonF> all;
    qsizetype points = 32 + qsizetype(polygons) * 4;
    for (quint32 i = 0; i < polygons; ++i) {
        const quint32 count = r.u32(32 + qsizetype(i) * 4);
        all.push_back(pointsAt(r, points, count, wide));
        points += qsizetype(count) * (wide ? 8 : 4);
    }
    return all;
}

// Region data from offset, of size bytes: a header of 32 bytes (its own
// size, its kind, the rectangles' count, their bytes, its bounds) and the
// rectangles, whose union the region is. No data is no region.
std::optional<QPainterPath> regionAt(const base::ByteReader& r, qsizetype offset, quint32 size)
{
    if (size == 0)
        return std::nullopt;
    const base::ByteReader data = r.sub(offset, size);
    const quint32 count = data.u32(8);
    if (!data.has(32, qsizetype(count) * 16))
        throw base::Failure(QStringLiteral("rectangles beyond the region"));
    QPainterPath area;
    area.setFillRule(Qt::WindingFill);
    for (quint32 i = 0; i < count; ++i)
        area.addRect(rectAt(data, 32 + qsizetype(i) * 16).normalized());
    return area;
}

// A bitmap stored in the record as its header and colours and its pixels,
// each found by an offset and a length from the record's start.
QImage bitmapAt(const base::ByteReader& r, qsizetype infoOffset, qsizetype bitsOffset)
{
    const quint32 infoAt = r.u32(infoOffset), infoSize = r.u32(infoOffset + 4);
    const quint32 bitsAt = r.u32(bitsOffset), bitsSize = r.u32(bitsOffset + 4);
    if (infoSize == 0)
        return {};
    return DecodeDib(r.bytes(infoAt, infoSize), r.bytes(bitsAt, bitsSize));
}

// Rows of a bottom-up bitmap are counted from its bottom.
QRectF sourceFromTop(const QImage& bitmap, QPointF at, QSizeF size)
{
    return QRectF(at.x(), bitmap.height() - at.y() - size.height(), size.width(), size.height());
}

// Modes, colours, the window, viewport and world transform, saved states
// and clipping.
bool playState(GdiPainter& dc, Emr type, const base::ByteReader& r)
{
    switch (type) {
    case Emr::SetWindowExtEx: dc.setWindowExt(sizeAt(r, 8)); break;
    case Emr::SetWindowOrgEx: dc.setWindowOrg(pointAt(r, 8)); break;
    case Emr::SetViewportExtEx: dc.setViewportExt(sizeAt(r, 8)); break;
    case Emr::SetViewportOrgEx: dc.setViewportOrg(pointAt(r, 8)); break;
    case Emr::SetMapMode: dc.setMapMode(r.i32(8)); break;
    case Emr::SetBkMode: dc.setBkMode(r.i32(8)); break;
    case Emr::SetPolyFillMode: dc.setPolyFillMode(r.i32(8)); break;
    case Emr::SetTextAlign: dc.setTextAlign(r.i32(8)); break;
    case Emr::SetTextColor: dc.setTextColor(colorAt(r, 8)); break;
    case Emr::SetBkColor: dc.setBkColor(colorAt(r, 8)); break;
    case Emr::ExcludeClipRect: dc.excludeClipRect(rectAt(r, 8)); break;
    case Emr::IntersectClipRect: dc.intersectClipRect(rectAt(r, 8)); break;
    case Emr::ScaleViewportExtEx: dc.scaleViewportExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20)); break;
    case Emr::ScaleWindowExtEx: dc.scaleWindowExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20)); break;
    case Emr::SaveDc: dc.saveDC(); break;
    case Emr::RestoreDc: dc.restoreDC(r.i32(8)); break;
    case Emr::SetWorldTransform: dc.setWorldTransform(transformAt(r, 8)); break;
    case Emr::ModifyWorldTransform: dc.modifyWorldTransform(transformAt(r, 8), r.i32(32)); break;
    case Emr::ExtSelectClipRgn: dc.selectClipRegion(regionAt(r, 16, r.u32(8)), r.i32(12)); break;
    case Emr::SelectClipPath: dc.selectClipPath(r.i32(8)); break;
    case Emr::SetRop2: dc.setRop2(r.i32(8)); break;
    default: return false;
    }
    return true;
}

// Pens, brushes and fonts made at their place in the table, selected and
// deleted.
bool playObject(GdiPainter& dc, Emr type, const base::ByteReader& r)
{
    switch (type) {
    case Emr::SelectObject: dc.selectObject(r.u32(8)); break;
    case Emr::DeleteObject: dc.deleteObject(r.u32(8)); break;
    case Emr::CreatePen: dc.createObjectAt(r.u32(8), GdiPen{.style = int(r.u32(12)), .width = double(r.i32(16)), .color = colorAt(r, 24)}); break;
    case Emr::CreateBrushIndirect:
        dc.createObjectAt(r.u32(8), GdiBrush{.style = int(r.u32(12)), .color = colorAt(r, 16), .hatch = int(r.u32(20))});
        break;
    case Emr::CreatePalette: // palettes take their place in the table and draw nothing
        dc.createObjectAt(r.u32(8), std::monostate{});
        break;
    case Emr::ExtCreateFontIndirectW: dc.createObjectAt(r.u32(8), ReadLogFont(r, 12, true)); break;
    case Emr::CreateMonoBrush:
    case Emr::CreateDibPatternBrushPt: {
        const QImage pattern = bitmapAt(r, 16, 24);
        dc.createObjectAt(r.u32(8), GdiBrush{.style = 3, .color = Qt::black, .pattern = pattern});
        break;
    }
    case Emr::ExtCreatePen: { // geometric pens have a width in logical units
        const quint32 style = r.u32(28);
        const bool geometric = style & 0x10000;
        dc.createObjectAt(r.u32(8), GdiPen{.style = int(style & 0x0F), .width = double(r.u32(32)), .cosmetic = !geometric, .color = colorAt(r, 40)});
        break;
    }
    default: return false;
    }
    return true;
}

// Lines, curves, shapes and pixels.
bool playDrawing(GdiPainter& dc, Emr type, const base::ByteReader& r)
{
    using Arc = GdiPainter::ArcKind;
    const bool wide = type < Emr::PolyBezier16 || type > Emr::PolyPolygon16;
    switch (type) {
    case Emr::PolyBezier:
    case Emr::PolyBezier16: dc.polyBezier(pointsAt(r, 28, r.u32(24), wide)); break;
    case Emr::Polygon:
    case Emr::Polygon16: dc.polygon(pointsAt(r, 28, r.u32(24), wide)); break;
    case Emr::Polyline:
    case Emr::Polyline16: dc.polyline(pointsAt(r, 28, r.u32(24), wide)); break;
    case Emr::PolyBezierTo:
    case Emr::PolyBezierTo16: dc.polyBezierTo(pointsAt(r, 28, r.u32(24), wide)); break;
    case Emr::PolylineTo:
    case Emr::PolylineTo16: dc.polylineTo(pointsAt(r, 28, r.u32(24), wide)); break;
    case Emr::PolyPolyline:
    case Emr::PolyPolyline16: dc.polyPolyline(polyPolyAt(r, wide)); break;
    case Emr::PolyPolygon:
    case Emr::PolyPolygon16: dc.polyPolygon(polyPolyAt(r, wide)); break;
    case Emr::SetPixelV: dc.setPixel(pointAt(r, 8), colorAt(r, 16)); break;
    case Emr::MoveToEx: dc.moveTo(pointAt(r, 8)); break;
    case Emr::LineTo: dc.lineTo(pointAt(r, 8)); break;
    case Emr::AngleArc: dc.angleArc(pointAt(r, 8), r.u32(16), r.f32(20), r.f32(24)); break;
    case Emr::Ellipse: dc.ellipse(rectAt(r, 8)); break;
    case Emr::Rectangle: dc.rectangle(rectAt(r, 8)); break;
    case Emr::RoundRect: dc.roundRect(rectAt(r, 8), sizeAt(r, 24)); break;
    case Emr::Arc: dc.arc(Arc::Arc, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case Emr::Chord: dc.arc(Arc::Chord, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case Emr::Pie: dc.arc(Arc::Pie, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case Emr::ArcTo: dc.arc(Arc::ArcTo, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    default: return false;
    }
    return true;
}

// Regions filled, framed, inverted and painted, given in logical units.
bool playRegion(GdiPainter& dc, Emr type, const base::ByteReader& r)
{
    const auto region = [&](qsizetype offset) { return regionAt(r, offset, r.u32(24)).value_or(QPainterPath()); };
    switch (type) {
    case Emr::FillRgn:
        if (const auto brush = dc.brushObject(r.u32(28)))
            dc.fillRegion(region(32), *brush);
        break;
    case Emr::FrameRgn:
        if (const auto brush = dc.brushObject(r.u32(28)))
            dc.frameRegion(region(40), *brush, sizeAt(r, 32));
        break;
    case Emr::InvertRgn: dc.invertRegion(region(28)); break;
    case Emr::PaintRgn: dc.paintRegion(region(28)); break;
    default: return false;
    }
    return true;
}

bool playPath(GdiPainter& dc, Emr type, const base::ByteReader&)
{
    switch (type) {
    case Emr::BeginPath: dc.beginPath(); break;
    case Emr::EndPath: dc.endPath(); break;
    case Emr::CloseFigure: dc.closeFigure(); break;
    case Emr::FillPath: dc.fillPath(); break;
    case Emr::StrokeAndFillPath: dc.strokeAndFillPath(); break;
    case Emr::StrokePath: dc.strokePath(); break;
    case Emr::AbortPath: dc.abortPath(); break;
    default: return false;
    }
    return true;
}

// The text of a record: count 8-bit characters or UTF-16 units at offset.
QString textAt(const base::ByteReader& r, qsizetype offset, quint32 count, bool wide)
{
    if (!wide)
        return GdiPainter::decodeText(r.bytes(offset, count), 0);
    const base::ByteReader units = r.sub(offset, qsizetype(count) * 2);
    QString text;
    text.reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i)
        text.append(QChar(units.u16(qsizetype(i) * 2)));
    return text;
}

// Text of 8-bit characters or of UTF-16 units, and the short form that
// leaves out the spacing and, when it may, the rectangle.
bool playText(GdiPainter& dc, Emr type, const base::ByteReader& r)
{
    switch (type) {
    case Emr::ExtTextOutA:
    case Emr::ExtTextOutW: {
        const quint32 options = r.u32(52);
        std::optional<QRectF> rect;
        if (!(options & NoRect))
            rect = rectAt(r, 56);
        dc.textOut(pointAt(r, 36), textAt(r, r.u32(48), r.u32(44), type == Emr::ExtTextOutW), rect, int(options));
        break;
    }
    case Emr::SmallTextOut: {
        const quint32 options = r.u32(20);
        std::optional<QRectF> rect;
        qsizetype text = 36;
        if (!(options & NoRect)) {
            rect = rectAt(r, 36);
            text += 16;
        }
        dc.textOut(pointAt(r, 8), textAt(r, text, r.u32(16), !(options & SmallChars)), rect, int(options));
        break;
    }
    default: return false;
    }
    return true;
}

bool playBitmap(GdiPainter& dc, Emr type, const base::ByteReader& r)
{
    switch (type) {
    case Emr::BitBlt: // with or without a bitmap
    case Emr::StretchBlt: { // the same, stretched from a source of its own size
        const QRectF dest(pointAt(r, 24), sizeAt(r, 32));
        const quint32 rop = r.u32(40);
        const QImage bitmap = bitmapAt(r, 84, 92);
        if (bitmap.isNull())
            dc.patBlt(dest, rop);
        else
            dc.drawBitmap(dest, sourceFromTop(bitmap, pointAt(r, 44), type == Emr::StretchBlt ? sizeAt(r, 100) : dest.size()), bitmap, rop);
        break;
    }
    case Emr::SetDiBitsToDevice: { // at their own size
        const QImage bitmap = bitmapAt(r, 48, 56);
        const QSizeF size = sizeAt(r, 40);
        dc.drawBitmap(QRectF(pointAt(r, 24), size), sourceFromTop(bitmap, pointAt(r, 32), size), bitmap, SrcCopy);
        break;
    }
    case Emr::AlphaBlend: { // laid out as StretchBlt, the operation's place holding the blend
        const QImage bitmap = bitmapAt(r, 84, 92);
        const double opacity = r.u8(42) / 255.0;
        dc.drawBitmap(QRectF(pointAt(r, 24), sizeAt(r, 32)), sourceFromTop(bitmap, pointAt(r, 44), sizeAt(r, 100)), bitmap, SrcCopy, opacity);
        break;
    }
    case Emr::StretchDiBits: {
        const QImage bitmap = bitmapAt(r, 48, 56);
        dc.drawBitmap(QRectF(pointAt(r, 24), sizeAt(r, 72)), sourceFromTop(bitmap, pointAt(r, 32), sizeAt(r, 40)), bitmap, r.u32(68));
        break;
    }
    default: return false;
    }
    return true;
}

// The size in millimetres of a pixel of the device the file was made on.
QSizeF referencePixel(const base::ByteReader& file)
{
    const QSizeF device = sizeAt(file, 72);
    // Newer headers give the device's size in micrometres as well as in
    // whole millimetres.
    const bool micrometres = file.u32(4) >= 108 && file.has(100, 8) && file.i32(100) > 0 && file.i32(104) > 0;
    const QSizeF size = micrometres ? sizeAt(file, 100) / 1000 : sizeAt(file, 80);
    // A screen of 96 dots an inch whose size was rounded or cut to whole
    // millimetres (the micrometres are often those millimetres again) is
    // that screen: the size as written would stretch every picture made on
    // it by a pixel or two.
    const auto pixel = [&](double pixels, double millimetres) {
        if (pixels <= 0 || millimetres <= 0 || std::abs(millimetres - pixels * 25.4 / 96) < 1)
            return 25.4 / 96;
        return millimetres / pixels;
    };
    return QSizeF(pixel(device.width(), size.width()), pixel(device.height(), size.height()));
}

} // namespace

bool EmfPlayer::recognises(const QByteArray& bytes)
{
    const base::ByteReader file(bytes);
    return file.has(0, 44) && Emr(file.u32(0)) == Emr::Header && file.u32(40) == Signature;
}

QImage EmfPlayer::draw(const QByteArray& bytes)
{
    DrawingBudget budget;
    return draw(bytes, budget);
}

QSize EmfPlayer::size(const QByteArray& bytes)
{
    const base::ByteReader file(bytes);
    const QRectF frame = rectAt(file, 24).normalized(); // hundredths of a millimetre
    const int width = static_cast<int>(std::lround(frame.width() * 96.0 / 2540));
    const int height = static_cast<int>(std::lround(frame.height() * 96.0 / 2540));
    if (width <= 0 || height <= 0 || width > LargestSide || height > LargestSide)
        throw base::Failure(QStringLiteral("metafile picture of no size or too large"));
    return QSize(width, height);
}

QImage EmfPlayer::draw(const QByteArray& bytes, DrawingBudget& budget)
{
    const base::ByteReader file(bytes);
    const QSize pictureSize = size(bytes);
    const QRectF frame = rectAt(file, 24).normalized(); // hundredths of a millimetre

    // The reference device's pixels at their size onto the picture's, the
    // frame's corner at the picture's. The pixels are not stretched to make
    // the frame fill the picture: the frame is rounded to whole pixels, and
    // stretching by that rounding moves lines off the pixels they were
    // written on.
    const QSizeF mmPerPixel = referencePixel(file);
    const double sx = mmPerPixel.width() * 96 / 25.4;
    const double sy = mmPerPixel.height() * 96 / 25.4;
    const QTransform deviceToImage(sx, 0, 0, sy, -frame.left() * 96 / 2540, -frame.top() * 96 / 2540);

    QImage image(pictureSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        GdiPainter dc(image, deviceToImage, mmPerPixel, budget);
        EmfPlayer player(dc);
        qsizetype at = file.u32(4);
        while (file.has(at, 8) && budget.take(DrawingBudget::record())) {
            const qsizetype size = file.u32(at + 4);
            if (Emr(file.u32(at)) == Emr::Eof || size < 8 || !file.has(at, size))
                break;
            base::SkipOnFailure([&] { player.play(file.sub(at, size)); });
            at += size;
        }
    }
    return image;
}

void EmfPlayer::play(const base::ByteReader& r)
{
    const auto type = Emr(r.u32(0));
    // Each family plays the records it knows; a record of none draws nothing
    // on a picture of its own.
    for (const auto family : {playState, playObject, playDrawing, playRegion, playPath, playText, playBitmap}) {
        if (family(m_dc, type, r))
            return;
    }
}

} // namespace pictures
