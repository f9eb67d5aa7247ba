#include "pictures/emf_player.h"

#include "base/byte_reader.h"
#include "base/failure.h"
#include "pictures/dib.h"
#include "pictures/gdi_painter.h"

#include <algorithm>
#include <cmath>

namespace pictures {

namespace {

constexpr quint32 Signature = 0x464D4520u; // " EMF"
constexpr int LargestSide = 8192;
constexpr int HeaderRecord = 1;
constexpr int EndRecord = 14;

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

} // namespace

bool EmfPlayer::recognises(const QByteArray& bytes)
{
    const base::ByteReader file(bytes.constData(), bytes.size());
    return file.has(0, 44) && file.u32(0) == HeaderRecord && file.u32(40) == Signature;
}

QImage EmfPlayer::draw(const QByteArray& bytes)
{
    const base::ByteReader file(bytes.constData(), bytes.size());
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
        GdiPainter dc(image, deviceToImage, mmPerPixel);
        EmfPlayer player(dc);
        qsizetype at = file.u32(4);
        while (file.has(at, 8)) {
            const quint32 type = file.u32(at);
            const qsizetype size = file.u32(at + 4);
            if (type == EndRecord || size < 8 || !file.has(at, size))
                break;
            base::SkipOnFailure([&] { player.play(file.sub(at, size)); });
            at += size;
        }
    }
    return image;
}

void EmfPlayer::play(const base::ByteReader& r)
{
    using Arc = GdiPainter::ArcKind;
    const quint32 type = r.u32(0);
    // Records 85 to 91 are records 2 to 8 with points of 16 bits.
    const bool wide = type < 85 || type > 91;
    switch (wide ? type : type - 83) {
    case 2: m_dc.polyBezier(pointsAt(r, 28, r.u32(24), wide)); break;
    case 3: m_dc.polygon(pointsAt(r, 28, r.u32(24), wide)); break;
    case 4: m_dc.polyline(pointsAt(r, 28, r.u32(24), wide)); break;
    case 5: m_dc.polyBezierTo(pointsAt(r, 28, r.u32(24), wide)); break;
    case 6: m_dc.polylineTo(pointsAt(r, 28, r.u32(24), wide)); break;
    case 7: m_dc.polyPolyline(polyPolyAt(r, wide)); break;
    case 8: m_dc.polyPolygon(polyPolyAt(r, wide)); break;
    case 9: m_dc.setWindowExt(sizeAt(r, 8)); break;
    case 10: m_dc.setWindowOrg(pointAt(r, 8)); break;
    case 11: m_dc.setViewportExt(sizeAt(r, 8)); break;
    case 12: m_dc.setViewportOrg(pointAt(r, 8)); break;
    case 15: m_dc.setPixel(pointAt(r, 8), colorAt(r, 16)); break;
    case 17: m_dc.setMapMode(r.i32(8)); break;
    case 18: m_dc.setBkMode(r.i32(8)); break;
    case 19: m_dc.setPolyFillMode(r.i32(8)); break;
    case 22: m_dc.setTextAlign(r.i32(8)); break;
    case 24: m_dc.setTextColor(colorAt(r, 8)); break;
    case 25: m_dc.setBkColor(colorAt(r, 8)); break;
    case 27: m_dc.moveTo(pointAt(r, 8)); break;
    case 29: m_dc.excludeClipRect(rectAt(r, 8)); break;
    case 30: m_dc.intersectClipRect(rectAt(r, 8)); break;
    case 31: m_dc.scaleViewportExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20)); break;
    case 32: m_dc.scaleWindowExt(r.i32(8), r.i32(12), r.i32(16), r.i32(20)); break;
    case 33: m_dc.saveDC(); break;
    case 34: m_dc.restoreDC(r.i32(8)); break;
    case 35: m_dc.setWorldTransform(transformAt(r, 8)); break;
    case 36: m_dc.modifyWorldTransform(transformAt(r, 8), r.i32(32)); break;
    case 37: m_dc.selectObject(r.u32(8)); break;
    case 38: m_dc.createObjectAt(r.u32(8), GdiPen{.style = int(r.u32(12)), .width = double(r.i32(16)), .color = colorAt(r, 24)}); break;
    case 39: m_dc.createObjectAt(r.u32(8), GdiBrush{.style = int(r.u32(12)), .color = colorAt(r, 16), .hatch = int(r.u32(20))}); break;
    case 40: m_dc.deleteObject(r.u32(8)); break;
    case 41: m_dc.angleArc(pointAt(r, 8), r.u32(16), r.f32(20), r.f32(24)); break;
    case 42: m_dc.ellipse(rectAt(r, 8)); break;
    case 43: m_dc.rectangle(rectAt(r, 8)); break;
    case 44: m_dc.roundRect(rectAt(r, 8), sizeAt(r, 24)); break;
    case 45: m_dc.arc(Arc::Arc, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case 46: m_dc.arc(Arc::Chord, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case 47: m_dc.arc(Arc::Pie, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case 55: m_dc.arc(Arc::ArcTo, rectAt(r, 8), pointAt(r, 24), pointAt(r, 32)); break;
    case 49: // palettes take their place in the table and draw nothing
        m_dc.createObjectAt(r.u32(8), std::monostate{});
        break;
    case 54: m_dc.lineTo(pointAt(r, 8)); break;
    case 59: m_dc.beginPath(); break;
    case 60: m_dc.endPath(); break;
    case 61: m_dc.closeFigure(); break;
    case 62: m_dc.fillPath(); break;
    case 63: m_dc.strokeAndFillPath(); break;
    case 64: m_dc.strokePath(); break;
    case 68: m_dc.abortPath(); break;
    case 75:
        // Selecting no region at all (a copy of nothing) lifts the clipping.
        if (r.u32(8) == 0 && r.u32(12) == 5)
            m_dc.resetClip();
        break;
    case 76: // bit block transfer, with or without a bitmap
    case 77: { // the same, stretched from a source of its own size
        const QRectF dest(pointAt(r, 24), sizeAt(r, 32));
        const quint32 rop = r.u32(40);
        const QImage bitmap = bitmapAt(r, 84, 92);
        if (bitmap.isNull())
            m_dc.patBlt(dest, rop);
        else
            m_dc.drawBitmap(dest, sourceFromTop(bitmap, pointAt(r, 44), type == 77 ? sizeAt(r, 100) : dest.size()), bitmap, rop);
        break;
    }
    case 80: { // bits to the device, at their own size
        const QImage bitmap = bitmapAt(r, 48, 56);
        const QSizeF size = sizeAt(r, 40);
        m_dc.drawBitmap(QRectF(pointAt(r, 24), size), sourceFromTop(bitmap, pointAt(r, 32), size), bitmap, 0x00CC0020);
        break;
    }
    case 81: { // stretched bits
        const QImage bitmap = bitmapAt(r, 48, 56);
        m_dc.drawBitmap(QRectF(pointAt(r, 24), sizeAt(r, 72)), sourceFromTop(bitmap, pointAt(r, 32), sizeAt(r, 40)), bitmap, r.u32(68));
        break;
    }
    case 82: m_dc.createObjectAt(r.u32(8), ReadLogFont(r, 12, true)); break;
    case 83: // text of 8-bit characters
    case 84: { // text of UTF-16 units
        const quint32 count = r.u32(44);
        const quint32 textAt = r.u32(48);
        const int options = static_cast<int>(r.u32(52));
        std::optional<QRectF> rect;
        if (!(options & 0x100))
            rect = rectAt(r, 56);
        QString text;
        if (type == 84) {
            const base::ByteReader units = r.sub(textAt, qsizetype(count) * 2);
            text.reserve(qsizetype(count));
            for (quint32 i = 0; i < count; ++i)
                text.append(QChar(units.u16(qsizetype(i) * 2)));
        } else {
            text = GdiPainter::decodeText(r.bytes(textAt, count), 0);
        }
        m_dc.textOut(pointAt(r, 36), text, rect, options);
        break;
    }
    case 93: // monochrome pattern brush
    case 94: { // DIB pattern brush
        const QImage pattern = bitmapAt(r, 16, 24);
        m_dc.createObjectAt(r.u32(8), GdiBrush{.style = 3, .color = Qt::black, .pattern = pattern});
        break;
    }
    case 95: { // extended pen: geometric pens have a width in logical units
        const quint32 style = r.u32(28);
        const bool geometric = style & 0x10000;
        m_dc.createObjectAt(r.u32(8), GdiPen{.style = int(style & 0x0F), .width = double(r.u32(32)), .cosmetic = !geometric, .color = colorAt(r, 40)});
        break;
    }
    default: break; // records that draw nothing on a picture of its own
    }
}

} // namespace pictures
