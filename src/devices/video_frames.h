#pragma once

#include <QImage>
#include <QSize>

namespace devices {

// A video file being decoded, as the media module gives it: its size and
// length at once, its pictures one after another as they are decoded.
// `VideoDecoder` is what the player holds.
class VideoFrames {
public:
    virtual ~VideoFrames() = default;

    virtual QSize size() const = 0;
    virtual qint64 lengthMs() const = 0;
    // The time between two pictures, at least 1 ms.
    virtual qint64 frameIntervalMs() const = 0;
    // The picture to show at a time of the video. With wait, blocks until
    // the decoder has got that far (a virtual clock jumps); without, it
    // takes the newest picture decoded so far. Null before the first.
    virtual QImage frameAt(qint64 ms, bool wait) = 0;
};

} // namespace devices
