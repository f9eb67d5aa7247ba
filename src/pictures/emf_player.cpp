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
    Eof = 14,
    SetPixelV = 15,
    SetMapMode = 17,
    SetBkMode = 18,
    SetPolyFillMode = 19,
    SetTextAlign = 22,
    SetTextColor = 24,
    SetBkColor = 25,
    MoveToEx = 27,
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
    CreatePalette = 49,
    LineTo = 54,
    ArcTo = 55,
    BeginPath = 59,
    EndPath = 60,
    CloseFigure = 61,
    FillPath = 62,
    StrokeAndFillPath = 63,
    StrokePath = 64,
    AbortPath = 68,
    ExtSelectClipRgn = 75,
    BitBlt = 76,
    StretchBlt = 77,
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
    CreateMonoBrush = 93,
    CreateDibPatternBrushPt = 94,
    ExtCreatePen = 95,
};

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
    case Emr::ExtSelectClipRgn:
        // Selecting no region at all (a copy of nothing) lifts the clipping.
        if (r.u32(8) == 0 && r.u32(12) == 5)
            dc.resetClip();
        break;
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

// Text of 8-bit characters or of UTF-16 units.
bool playText(GdiPainter& dc, Emr type, const base::ByteReader& r)
{
    if (type != Emr::ExtTextOutA && type != Emr::ExtTextOutW)
        return false;
    const quint32 count = r.u32(44);
    const quint32 textAt = r.u32(48);
    const int options = static_cast<int>(r.u32(52));
    std::optional<QRectF> rect;
    if (!(options & 0x100))
        rect = rectAt(r, 56);
    QString text;
    if (type == Emr::ExtTextOutW) {
        const base::ByteReader units = r.sub(textAt, qsizetype(count) * 2);
        text.reserve(qsizetype(count));
        for (quint32 i = 0; i < count; ++i)
            text.append(QChar(units.u16(qsizetype(i) * 2)));
    } else {
        text = GdiPainter::decodeText(r.bytes(textAt, count), 0);
    }
    dc.textOut(pointAt(r, 36), text, rect, options);
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
        dc.drawBitmap(QRectF(pointAt(r, 24), size), sourceFromTop(bitmap, pointAt(r, 32), size), bitmap, 0x00CC0020);
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

QImage EmfPlayer::draw(const QByteArray& bytes, DrawingBudget& budget)
{
    const base::ByteReader file(bytes);
    const QRectF frame = rectAt(file, 24); // hundredths of a millimetre
    const QSizeF device = sizeAt(file, 72);
    const QSizeF millimetres = sizeAt(file, 80);
    const int width = static_cast<int>(std::lround(std::abs(frame.width()) * 96.0 / 2540));
    const int height = static_cast<int>(std::lround(std::abs(frame.height()) * 96.0 / 2540));
    if (width <= 0 || height <= 0 || width > LargestSide || height > LargestSide)
        throw base::Failure(QStringLiteral("metafile picture of no size or too large"));

    // The reference device's pixels, in hundredths of a millimetre, then the
    // frame onto the picture.
    const bool knownDevice = device.width() > 0 && device.height() > 0 && millimetres.width() > 0 && millimetres.height() > 0;
    const QSizeF mmPerPixel = knownDevice ? QSizeF(millimetres.width() / device.width(), millimetres.height() / device.height())
                                          : QSizeF(25.4 / 96, 25.4 / 96);
    const double sx = mmPerPixel.width() * 100 * width / frame.width();
    const double sy = mmPerPixel.height() * 100 * height / frame.height();
    const QTransform deviceToImage(sx, 0, 0, sy, -frame.left() * width / frame.width(), -frame.top() * height / frame.height());

    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
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
    for (const auto family : {playState, playObject, playDrawing, playPath, playText, playBitmap}) {
        if (family(m_dc, type, r))
            return;
    }
}

} // namespace pictures
