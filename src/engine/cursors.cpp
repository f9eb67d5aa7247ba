#include "engine/cursors.h"

#include "base/byte_reader.h"
#include "base/failure.h"
#include "platform/element.h"
#include "run/context.h"
#include "run/media_names.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>

namespace engine {

CursorPicture DecodeCursor(const QByteArray& bytes)
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(16);
    CursorPicture cursor;
    cursor.image = reader.read();
    if (cursor.image.isNull())
        throw base::Failure(QStringLiteral("Invalid cursor"));
    // ICONDIR: reserved, type (2 = cursor), count; then the first entry,
    // whose planes and bit-count words hold the hot spot of a cursor.
    const base::ByteReader file(bytes);
    if (file.has(0, 14) && file.u16(2) == 2)
        cursor.hotSpot = QPoint(std::min<int>(file.u16(10), cursor.image.width() - 1), std::min<int>(file.u16(12), cursor.image.height() - 1));
    return cursor;
}

QCursor LoadCursorFile(run::Context& rt, const QString& path)
{
    const QByteArray bytes = rt.files.readAll(path);
    try {
        const CursorPicture cursor = DecodeCursor(bytes);
        return QCursor(QPixmap::fromImage(cursor.image), cursor.hotSpot.x(), cursor.hotSpot.y());
    } catch (const base::Failure&) {
        throw base::Failure(QStringLiteral("Invalid cursor: %1").arg(path));
    }
}

void ApplyDefaultCursor(run::Context& rt, platform::Element& element)
{
    const QString name = rt.project.DefaultCursor;
    if (name.isEmpty() || name.toLower() == QLatin1String("default")) {
        element.setCursor(Qt::ArrowCursor);
        return;
    }
    try {
        element.setCursor(LoadCursorFile(rt, run::MapMediaFileName(rt, rt.project.IconsPath + name)));
    } catch (const std::exception&) {
        // The element keeps the pointer it had.
    }
}

} // namespace engine
