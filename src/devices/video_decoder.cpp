#include "devices/video_decoder.h"

#include "base/failure.h"
#include "devices/media_backend.h"
#include "devices/media_module.h"

namespace devices {

namespace {

std::unique_ptr<VideoFrames> openWith(MediaModule& module, const QString& path)
{
    MediaBackend* backend = module.backend();
    if (!backend)
        throw base::Failure(QStringLiteral("No video decoder: %1").arg(module.error()));
    return backend->openVideo(path);
}

} // namespace

VideoDecoder::VideoDecoder(MediaModule& module, const QString& path) : m_frames(openWith(module, path)) {}

VideoDecoder::~VideoDecoder() = default;

QSize VideoDecoder::size() const
{
    return m_frames->size();
}

qint64 VideoDecoder::lengthMs() const
{
    return m_frames->lengthMs();
}

qint64 VideoDecoder::frameIntervalMs() const
{
    return m_frames->frameIntervalMs();
}

QImage VideoDecoder::frameAt(qint64 ms, bool wait)
{
    return m_frames->frameAt(ms, wait);
}

} // namespace devices
