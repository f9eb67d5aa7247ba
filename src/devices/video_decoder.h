#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace devices {

class MediaModule;
class VideoFrames;

// A video file decoded by the media module: its size and length at once,
// and its pictures one after another on a worker thread that keeps a few
// frames ahead of the player. Its sound track is the audio device's to
// stream. Throws Failure from the constructor for a file that is missing,
// damaged or in a format the module cannot decode, and when the module
// cannot be loaded.
class VideoDecoder {
public:
    VideoDecoder(MediaModule& module, const QString& path);
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    QSize size() const;
    qint64 lengthMs() const;
    // The time between two pictures, at least 1 ms.
    qint64 frameIntervalMs() const;

    // The picture to show at a time of the video. With wait, blocks until
    // the worker has decoded that far (a virtual clock jumps); without, it
    // takes the newest picture decoded so far. Null before the first.
    QImage frameAt(qint64 ms, bool wait);

private:
    std::unique_ptr<VideoFrames> m_frames;
};

} // namespace devices
