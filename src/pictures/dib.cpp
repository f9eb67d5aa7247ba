#include "pictures/dib.h"

#include "base/byte_reader.h"
#include "base/byte_writer.h"
#include "base/failure.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace pictures {

QImage ReadImage(QByteArray bytes, const char* format)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(format == nullptr);
    // A format named is read by its own handler alone: Qt would otherwise
    // load every image plugin to ask whether it reads it too.
    reader.setAutoDetectImageFormat(format == nullptr);
    // Pictures beyond any sensible screen are bad data, not a reason to
    // allocate gigabytes.
    reader.setAllocationLimit(256);
    return reader.read();
}

QImage DecodeDib(const QByteArray& info, const QByteArray& bits)
{
    if (info.size() < 12)
        return {};
    // A bitmap file is the same block behind a file header of 14 bytes.
    base::ByteWriter file;
    file.raw("BM").u32(static_cast<quint32>(14 + info.size() + bits.size())).u32(0).u32(static_cast<quint32>(14 + info.size()));
    file.raw(info).raw(bits);
    return ReadImage(file.bytes(), "bmp");
}

QImage DecodeDib(const QByteArray& packed)
{
    const base::ByteReader dib(packed);
    try {
        const quint32 headerSize = dib.u32(0);
        qsizetype colours = 0;
        if (headerSize == 12) {
            const int bitCount = dib.u16(10);
            colours = bitCount <= 8 ? (qsizetype(1) << bitCount) * 3 : 0;
        } else {
            const int bitCount = dib.u16(14);
            const quint32 compression = dib.u32(16);
            const quint32 used = dib.u32(32);
            if (bitCount <= 8)
                colours = (used ? std::min<qsizetype>(used, qsizetype(1) << bitCount) : qsizetype(1) << bitCount) * 4;
            else
                colours = std::min<qsizetype>(used, 256) * 4;
            if (compression == 3 && headerSize == 40)
                colours += 12; // the three colour masks
        }
        const qsizetype infoSize = std::min<qsizetype>(qsizetype(headerSize) + colours, packed.size());
        return DecodeDib(packed.left(infoSize), packed.mid(infoSize));
    } catch (const base::Failure&) {
        return {};
    }
}

} // namespace pictures
