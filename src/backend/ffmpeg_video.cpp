#include "backend/ffmpeg_video.h"

#include "backend/audio_decoder.h"
#include "base/failure.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace backend {

namespace {

// Frames decoded ahead of the one on screen.
constexpr std::size_t kFramesAhead = 8;

} // namespace

// One stream of a file with its decoder.
struct FfmpegVideo::Demuxer {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int stream = -1;

    Demuxer(const QString& path, AVMediaType type)
    {
        // A constructor that throws runs no destructor: what was opened so
        // far (the file among it) is closed here.
        try {
            open(path, type);
        } catch (const base::Failure&) {
            release();
            throw;
        }
    }
    ~Demuxer() { release(); }

    void open(const QString& path, AVMediaType type)
    {
        const QByteArray name = path.toLocal8Bit();
        // A named pipe or a device would hold the open until somebody writes.
        std::error_code error;
        if (!std::filesystem::is_regular_file(std::filesystem::path(name.toStdString()), error)
            || avformat_open_input(&format, name.constData(), nullptr, nullptr) < 0)
            throw base::Failure(QStringLiteral("Cannot open the video %1").arg(path));
        if (avformat_find_stream_info(format, nullptr) < 0)
            throw base::Failure(QStringLiteral("Cannot read the video %1").arg(path));
        const AVCodec* decoder = nullptr;
        stream = av_find_best_stream(format, type, -1, -1, &decoder, 0);
        if (stream < 0 || !decoder)
            throw base::Failure(type == AVMEDIA_TYPE_VIDEO ? QStringLiteral("No picture FFmpeg can decode in %1").arg(path)
                                                     : QStringLiteral("No sound in %1").arg(path));
        codec = avcodec_alloc_context3(decoder);
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        if (!codec || !packet || !frame || avcodec_parameters_to_context(codec, format->streams[stream]->codecpar) < 0
            || avcodec_open2(codec, decoder, nullptr) < 0)
            throw base::Failure(QStringLiteral("Cannot decode %1").arg(path));
    }
    void release()
    {
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }
    AVStream* avStream() const { return format->streams[stream]; }

    // Calls take(frame) for every frame of the stream, to its end or until
    // take returns false.
    template <typename Take>
    void each(Take&& take)
    {
        bool ending = false;
        while (true) {
            if (!ending) {
                const int read = av_read_frame(format, packet);
                if (read < 0) {
                    ending = true;
                    avcodec_send_packet(codec, nullptr);
                } else {
                    if (packet->stream_index == stream)
                        avcodec_send_packet(codec, packet);
                    av_packet_unref(packet);
                }
            }
            while (true) {
                const int got = avcodec_receive_frame(codec, frame);
                if (got == AVERROR_EOF)
                    return;
                if (got < 0)
                    break;
                const bool more = take(frame);
                av_frame_unref(frame);
                if (!more)
                    return;
            }
        }
    }
};

FfmpegVideo::FfmpegVideo(const QString& path) : m_path(path)
{
    KeepFfmpegQuiet();
    m_video = std::make_unique<Demuxer>(path, AVMEDIA_TYPE_VIDEO);
    const AVCodecContext* codec = m_video->codec;
    if (codec->width <= 0 || codec->height <= 0 || codec->width > 8192 || codec->height > 8192)
        throw base::Failure(QStringLiteral("The video %1 has no usable picture size").arg(path));
    m_size = QSize(codec->width, codec->height);
    const AVStream* stream = m_video->avStream();
    AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num > 0 && rate.den > 0)
        m_frameIntervalMs = std::max<qint64>(1, std::llround(1000.0 * rate.den / rate.num));
    if (stream->duration > 0 && stream->time_base.den > 0)
        m_lengthMs = av_rescale_q(stream->duration, stream->time_base, AVRational{1, 1000});
    else if (m_video->format->duration > 0)
        m_lengthMs = m_video->format->duration / (AV_TIME_BASE / 1000);
    if (m_lengthMs <= 0 && stream->nb_frames > 0)
        m_lengthMs = stream->nb_frames * m_frameIntervalMs;
    if (m_lengthMs <= 0)
        throw base::Failure(QStringLiteral("The video %1 has no length").arg(path));

    m_worker = std::thread(&FfmpegVideo::decodeLoop, this);
}

FfmpegVideo::~FfmpegVideo()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_changed.notify_all();
    }
    if (m_worker.joinable())
        m_worker.join();
}

void FfmpegVideo::decodeLoop()
{
    SwsContext* scaler = nullptr;
    const AVRational timeBase = m_video->avStream()->time_base;
    qint64 next = 0;
    m_video->each([&](AVFrame* f) {
        const std::int64_t pts = f->best_effort_timestamp;
        const qint64 ms = pts != AV_NOPTS_VALUE ? av_rescale_q(pts, timeBase, AVRational{1, 1000}) : next;
        next = ms + m_frameIntervalMs;
        QImage image(f->width, f->height, QImage::Format_RGB32);
        scaler = sws_getCachedContext(scaler, f->width, f->height, static_cast<AVPixelFormat>(f->format), f->width, f->height,
                                      AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!scaler || image.isNull())
            return true;
        uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
        int strides[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
        sws_scale(scaler, f->data, f->linesize, 0, f->height, planes, strides);
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_stopping || m_ahead.size() < kFramesAhead; });
        if (m_stopping)
            return false;
        m_ahead.push_back(Frame{ms, std::move(image)});
        m_changed.notify_all();
        return true;
    });
    sws_freeContext(scaler);
    std::lock_guard lock(m_mutex);
    m_done = true;
    m_changed.notify_all();
}

QImage FfmpegVideo::frameAt(qint64 ms, bool wait)
{
    std::unique_lock lock(m_mutex);
    while (true) {
        while (!m_ahead.empty() && m_ahead.front().ms <= ms) {
            m_current = std::move(m_ahead.front().image);
            m_ahead.pop_front();
            m_changed.notify_all();
        }
        // Decoded far enough when a later picture waits, or there is no more.
        if (!wait || !m_ahead.empty() || m_done)
            return m_current;
        m_changed.wait(lock, [this] { return !m_ahead.empty() || m_done; });
    }
}

} // namespace backend
