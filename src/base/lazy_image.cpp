#include "base/lazy_image.h"

#include <utility>

namespace base {

LazyImage::LazyImage(const QImage& image)
{
    if (!image.isNull())
        m_shared = std::make_shared<Shared>(Shared{image.size(), {}, image});
}

LazyImage::LazyImage(QSize size, std::function<QImage()> make)
    : m_shared(std::make_shared<Shared>(Shared{size, std::move(make), {}}))
{
}

const QImage& LazyImage::image() const
{
    static const QImage none;
    if (!m_shared)
        return none;
    if (m_shared->make) {
        // Dropping the maker lets go of what it held (a file's bytes).
        const std::function<QImage()> make = std::exchange(m_shared->make, {});
        m_shared->image = make();
    }
    return m_shared->image;
}

} // namespace base
