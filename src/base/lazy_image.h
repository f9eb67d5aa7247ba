#pragma once

#include <QImage>
#include <QSize>

#include <functional>
#include <memory>

namespace base {

// An image whose size is known at once and whose pixels are made the first
// time they are asked for, then kept. Copies share one image, as QImage
// copies share their pixels, so a picture shown by six elements is made
// once, by whichever shows it first; one that nobody ever looks at (in a
// window nobody sees) is never made. An image already made wraps without
// cost.
class LazyImage {
public:
    LazyImage() = default;
    LazyImage(const QImage& image); // NOLINT(google-explicit-constructor): a made image is a lazy one
    // make must give an image of the size promised, and not throw: what it
    // gives is taken as it is.
    LazyImage(QSize size, std::function<QImage()> make);

    bool isNull() const { return !m_shared; }
    QSize size() const { return m_shared ? m_shared->size : QSize(); }
    int width() const { return size().width(); }
    int height() const { return size().height(); }

    // The pixels, made now if they were not yet; a null image for a null one.
    const QImage& image() const;
    bool isMade() const { return !m_shared || !m_shared->make; }

    // Whether this is the only copy, so that letting it go frees the image.
    bool isDetached() const { return m_shared.use_count() == 1; }

private:
    struct Shared {
        QSize size;
        std::function<QImage()> make;
        QImage image;
    };
    std::shared_ptr<Shared> m_shared;
};

} // namespace base
