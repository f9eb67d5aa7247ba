#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

namespace devices {

// A video file decoded with FFmpeg: its size and length at once, and its
// pictures one after another on a worker thread that keeps a few frames ahead
// of the player. Its sound track is the audio device's to stream.
// Throws Failure from the constructor for a file that is missing, damaged
// or in a format FFmpeg cannot decode.
class VideoDecoder {
public:
    explicit VideoDecoder(const QString& path);
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    QSize size() const { return m_size; }
    qint64 lengthMs() const { return m_lengthMs; }
    // The time between two pictures, at least 1 ms.
    qint64 frameIntervalMs() const { return m_frameIntervalMs; }

    // The picture to show at a time of the video. With wait, blocks until
    // the worker has decoded that far (a virtual clock jumps); without, it
    // takes the newest picture decoded so far. Null before the first.
    QImage frameAt(qint64 ms, bool wait);

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

} // namespace devices
