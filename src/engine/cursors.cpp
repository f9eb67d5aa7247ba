#include "engine/cursors.h"

#include "app/media_names.h"
#include "app/runtime.h"
#include "platform/element.h"
#include "platform/failure.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>

namespace engine {

QCursor LoadCursorFile(app::Runtime& rt, const QString& path)
{
    QByteArray bytes = rt.files.readAll(path);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(16);
    const QImage image = reader.read();
    if (image.isNull())
        throw platform::Failure(QStringLiteral("Invalid cursor: %1").arg(path));
    int hotX = -1;
    int hotY = -1;
    // ICONDIR: reserved, type (2 = cursor), count; then the first entry,
    // whose planes and bit-count words hold the hot spot of a cursor.
    auto word = [&](int at) { return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8); };
    if (bytes.size() >= 14 && word(2) == 2) {
        hotX = std::min(word(10), image.width() - 1);
        hotY = std::min(word(12), image.height() - 1);
    }
    return QCursor(QPixmap::fromImage(image), hotX, hotY);
}

void ApplyDefaultCursor(app::Runtime& rt, platform::Element& element)
{
    const QString name = rt.project.DefaultCursor;
    if (name.isEmpty() || name.toLower() == QLatin1String("default")) {
        element.setCursor(Qt::ArrowCursor);
        return;
    }
    try {
        element.setCursor(LoadCursorFile(rt, app::MapMediaFileName(rt, rt.project.IconsPath + name)));
    } catch (const std::exception&) {
        // The element keeps the pointer it had.
    }
}

} // namespace engine
