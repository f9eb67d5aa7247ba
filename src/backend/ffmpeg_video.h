#pragma once

#include "devices/video_frames.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace backend {

// A video file decoded with FFmpeg: its size and length at once, and its
// pictures one after another on a worker thread that keeps a few frames ahead
// of the player. Its sound track is the audio output's to stream.
// Throws Failure from the constructor for a file that is missing, damaged
// or in a format FFmpeg cannot decode.
class FfmpegVideo : public devices::VideoFrames {
public:
    explicit FfmpegVideo(const QString& path);
    ~FfmpegVideo() override;
    FfmpegVideo(const FfmpegVideo&) = delete;
    FfmpegVideo& operator=(const FfmpegVideo&) = delete;

    QSize size() const override { return m_size; }
    qint64 lengthMs() const override { return m_lengthMs; }
    qint64 frameIntervalMs() const override { return m_frameIntervalMs; }
    QImage frameAt(qint64 ms, bool wait) override;

private:
    struct Frame {
        qint64 ms;
        QImage image;
    };
    struct Demuxer;
    void decodeLoop();

    QString m_path;
    QSize m_size;
    qint64 m_lengthMs = 0;
    qint64 m_frameIntervalMs = 40;
    std::unique_ptr<Demuxer> m_video;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Frame> m_ahead;
    QImage m_current;
    bool m_done = false;
    bool m_stopping = false;
    std::thread m_worker;
};

} // namespace backend
