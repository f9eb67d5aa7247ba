#include "pictures/metafile_bytes.h"

#include "base/byte_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <bit>

#include <gtest/gtest.h>

namespace metafile_bytes {

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Written(MetafileWriter::Kind kind, QSize size, const std::function<void(MetafileWriter&)>& draw)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture"));
    {
        MetafileWriter writer(kind, size, path);
        draw(writer);
        EXPECT_TRUE(writer.finish());
    }
    return ReadFile(path);
}

QByteArray DataFile(const QString& name)
{
    const QByteArray bytes = ReadFile(QDir(QStringLiteral(LOOM_TEST_DATA_DIR "/metafiles")).filePath(name));
    EXPECT_FALSE(bytes.isEmpty()) << name.toStdString();
    return bytes;
}

namespace {

// A picture of nothing with the records put before its end record.
QByteArray withRecords(MetafileWriter::Kind kind, const QByteArray& records, QSize size)
{
    QByteArray bytes = Written(kind, size, [](MetafileWriter&) {});
    const qsizetype endRecord = kind == MetafileWriter::Kind::Emf ? 20 : 6;
    bytes.insert(bytes.size() - endRecord, records);
    return bytes;
}

} // namespace

QByteArray EmfWith(const QByteArray& records, QSize size) { return withRecords(MetafileWriter::Kind::Emf, records, size); }

QByteArray Emr(quint32 type, const std::vector<qint32>& values, const QByteArray& tail)
{
    base::ByteWriter w;
    w.u32(type).u32(static_cast<quint32>(8 + 4 * values.size() + tail.size()));
    for (const qint32 v : values)
        w.u32(static_cast<quint32>(v));
    w.raw(tail);
    return w.bytes();
}

qint32 Float(float value) { return std::bit_cast<qint32>(value); }

qint32 Color(QColor color) { return color.red() | color.green() << 8 | color.blue() << 16; }

QByteArray RegionData(const std::vector<QRect>& rects)
{
    base::ByteWriter w;
    w.u32(32).u32(1).u32(static_cast<quint32>(rects.size())).u32(static_cast<quint32>(rects.size() * 16));
    w.u32(0).u32(0).u32(0).u32(0);
    for (const QRect& r : rects)
        w.u32(r.left()).u32(r.top()).u32(r.right() + 1).u32(r.bottom() + 1);
    return w.bytes();
}

QByteArray WmfWith(const QByteArray& records, QSize size) { return withRecords(MetafileWriter::Kind::Wmf, records, size); }

QByteArray Meta(quint16 function, const std::vector<qint32>& words, const QByteArray& tail)
{
    base::ByteWriter w;
    w.u32(static_cast<quint32>(3 + words.size() + tail.size() / 2)).u16(function);
    for (const qint32 v : words)
        w.u16(static_cast<quint16>(v));
    w.raw(tail);
    return w.bytes();
}

bool IsTransparent(const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)) == 0; }

} // namespace metafile_bytes
