#include "platform/animation.h"

#include "base/failure.h"
#include "platform/element.h"

#include <QMovie>

namespace platform {

Animation::Animation(Element& target) : m_target(target) {}

Animation::~Animation() = default;

void Animation::setFile(const QString& path)
{
    auto movie = std::make_unique<QMovie>(path);
    // Caching must be chosen before the first frame is read, or the frames
    // read before it are never cached and a restart cannot find frame 0.
    movie->setCacheMode(QMovie::CacheAll);
    // A header alone can pass for valid: a readable first frame is the test.
    if (!movie->isValid() || !movie->jumpToFrame(0) || movie->currentImage().isNull())
        throw base::Failure(QStringLiteral("Cannot read the animation %1").arg(path));
    movie->setSpeed(m_speedPercent);
    QObject::connect(movie.get(), &QMovie::frameChanged, this, [this](int) { m_target.setPicture(m_movie->currentImage()); });
    m_movie = std::move(movie);
    m_file = path;
    m_target.setPicture(m_movie->currentImage());
}

void Animation::setSpeedPercent(int percent)
{
    m_speedPercent = percent;
    if (m_movie)
        m_movie->setSpeed(percent);
}

int Animation::speedPercent() const
{
    return m_speedPercent;
}

void Animation::play()
{
    if (!m_movie)
        return;
    // A stopped movie starts again from its first frame.
    m_movie->stop();
    m_movie->start();
}

void Animation::stop()
{
    if (m_movie)
        m_movie->stop();
}

bool Animation::playing() const
{
    return m_movie && m_movie->state() == QMovie::Running;
}

int Animation::currentFrame() const
{
    return m_movie ? m_movie->currentFrameNumber() : -1;
}

} // namespace platform
