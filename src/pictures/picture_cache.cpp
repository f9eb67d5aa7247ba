#include "pictures/picture_cache.h"

#include "base/failure.h"

#include <iterator>

namespace pictures {

namespace {

constexpr double Megabyte = 1 << 20;

QImage::Format paintingFormat(const QImage& picture)
{
    if (picture.format() == QImage::Format_ARGB32_Premultiplied)
        return picture.format();
    return picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

// The bytes a picture of this size takes in the painting format.
qint64 pixelBytes(QSize size)
{
    return qint64(size.width()) * size.height() * 4;
}

} // namespace

base::LazyImage PictureCache::load(const std::filesystem::path& file, const std::function<base::LazyImage()>& decode)
{
    std::error_code error;
    const std::filesystem::file_time_type modified = std::filesystem::last_write_time(file, error);
    const std::uintmax_t size = error ? 0 : std::filesystem::file_size(file, error);
    const bool known = !error;
    if (known) {
        const auto held = m_entries.find(file);
        if (held != m_entries.end() && held->second.modified == modified && held->second.size == size)
            return held->second.picture;
    }
    releaseUnshown();
    base::LazyImage picture = decode();
    const qint64 bytes = pixelBytes(picture.size());
    const qint64 already = heldBytes();
    if (bytes > m_budget - already) {
        throw base::Failure(QStringLiteral("Picture too large: its %1 MB with the %2 MB of the pictures shown would pass the %3 MB they may take")
                                .arg(bytes / Megabyte, 0, 'f', 0)
                                .arg(already / Megabyte, 0, 'f', 0)
                                .arg(m_budget / Megabyte, 0, 'f', 0));
    }
    // Converted once, when it is not already, so that painting never
    // converts it again: an indexed picture paints 4 to 15 times slower.
    // Pictures made later (metafiles) are drawn in the painting format.
    if (picture.isMade()) {
        QImage image = picture.image();
        if (const QImage::Format format = paintingFormat(image); image.format() != format) {
            image.convertTo(format);
            picture = image;
        }
    }
    if (known)
        m_entries[file] = Entry{modified, size, picture};
    return picture;
}

qint64 PictureCache::heldBytes() const
{
    qint64 bytes = 0;
    for (const auto& [file, entry] : m_entries)
        bytes += pixelBytes(entry.picture.size());
    return bytes;
}

void PictureCache::releaseUnshown()
{
    for (auto it = m_entries.begin(); it != m_entries.end();)
        it = it->second.picture.isDetached() ? m_entries.erase(it) : std::next(it);
}

} // namespace pictures
