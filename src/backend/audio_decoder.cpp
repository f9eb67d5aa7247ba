#include "backend/audio_decoder.h"

#include "base/failure.h"
#include "devices/audio_output.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace backend {

namespace {

constexpr AVRational Milliseconds{1, 1000};

// Bytes already read, offered to FFmpeg as a file it can seek in.
struct MemoryInput {
    QByteArray bytes;
    qint64 at = 0;
};

int readMemory(void* opaque, uint8_t* buffer, int size)
{
    auto* in = static_cast<MemoryInput*>(opaque);
    const qint64 left = in->bytes.size() - in->at;
    if (left <= 0)
        return AVERROR_EOF;
    const int given = static_cast<int>(std::min<qint64>(left, size));
    std::memcpy(buffer, in->bytes.constData() + in->at, std::size_t(given));
    in->at += given;
    return given;
}

int64_t seekMemory(void* opaque, int64_t offset, int whence)
{
    auto* in = static_cast<MemoryInput*>(opaque);
    const qint64 size = in->bytes.size();
    whence &= ~AVSEEK_FORCE;
    if (whence == AVSEEK_SIZE)
        return size;
    const qint64 from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? in->at : whence == SEEK_END ? size : -1;
    if (from < 0 || offset < -from || offset > size - from)
        return AVERROR(EINVAL);
    in->at = from + offset;
    return in->at;
}

base::Failure undecodable(const QString& why)
{
    return base::Failure(QStringLiteral("Cannot decode the sound: %1").arg(why));
}

} // namespace

void KeepFfmpegQuiet()
{
    av_log_set_level(AV_LOG_QUIET);
}

// The demuxer, decoder and resampler of one pass through a source.
struct AudioDecoder::Stream {
    MemoryInput memory;
    AVIOContext* io = nullptr;
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    // Made for the first frame's own format; frames in another are left out.
    SwrContext* resampler = nullptr;
    int sampleFormat = -1;
    int sampleRate = 0;
    int index = -1;
    bool inputEnded = false;

    explicit Stream(const devices::AudioSource& source)
    {
        // A constructor that throws runs no destructor: what was opened so
        // far is let go here.
        try {
            open(source);
        } catch (const base::Failure&) {
            release();
            throw;
        }
    }
    ~Stream() { release(); }

    void open(const devices::AudioSource& source)
    {
        KeepFfmpegQuiet();
        format = avformat_alloc_context();
        if (!format)
            throw undecodable(QStringLiteral("out of memory"));
        if (source.path.isEmpty()) {
            memory.bytes = source.bytes;
            constexpr int BufferSize = 32768;
            auto* buffer = static_cast<unsigned char*>(av_malloc(BufferSize));
            io = buffer ? avio_alloc_context(buffer, BufferSize, 0, &memory, &readMemory, nullptr, &seekMemory) : nullptr;
            if (!io) {
                av_free(buffer);
                throw undecodable(QStringLiteral("out of memory"));
            }
            format->pb = io;
            format->flags |= AVFMT_FLAG_CUSTOM_IO;
        }
        const QByteArray name = source.path.toLocal8Bit();
        // A named pipe or a device would hold the open until somebody writes.
        std::error_code error;
        if (!source.path.isEmpty() && !std::filesystem::is_regular_file(std::filesystem::path(name.toStdString()), error))
            throw undecodable(QStringLiteral("no regular file"));
        // On failure FFmpeg frees the context itself and clears the pointer.
        if (avformat_open_input(&format, source.path.isEmpty() ? nullptr : name.constData(), nullptr, nullptr) < 0
            || avformat_find_stream_info(format, nullptr) < 0)
            throw undecodable(QStringLiteral("no format FFmpeg knows"));
        const AVCodec* decoder = nullptr;
        index = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
        if (index < 0 || !decoder)
            throw undecodable(QStringLiteral("no sound FFmpeg can decode"));
        const int rate = format->streams[index]->codecpar->sample_rate;
        // Resampled for the output, a rate far outside what sound cards play
        // would cost work out of all proportion to the file.
        if (!devices::AudioOutput::isPlayableRate(rate))
            throw undecodable(QStringLiteral("a sampling rate of %1 Hz").arg(rate));
        codec = avcodec_alloc_context3(decoder);
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        if (!codec || !packet || !frame || avcodec_parameters_to_context(codec, format->streams[index]->codecpar) < 0
            || avcodec_open2(codec, decoder, nullptr) < 0)
            throw undecodable(QStringLiteral("FFmpeg cannot open its decoder"));
    }

    void release()
    {
        swr_free(&resampler);
        av_frame_free(&frame);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
        if (io) {
            // FFmpeg may have replaced the buffer it was given.
            av_freep(&io->buffer);
            avio_context_free(&io);
        }
    }

    // Whether the frame can be resampled: the resampler is made for the
    // first one.
    bool accepts(const AVFrame& f)
    {
        if (resampler)
            return f.format == sampleFormat && f.sample_rate == sampleRate;
        if (!devices::AudioOutput::isPlayableRate(f.sample_rate))
            return false;
        AVChannelLayout layout{};
        if (f.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || av_channel_layout_check(&f.ch_layout) == 0)
            av_channel_layout_default(&layout, std::max(1, f.ch_layout.nb_channels));
        else if (av_channel_layout_copy(&layout, &f.ch_layout) < 0)
            return false;
        AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
        const bool made = swr_alloc_set_opts2(&resampler, &stereo, AV_SAMPLE_FMT_S16, OutputRate, &layout,
                                              static_cast<AVSampleFormat>(f.format), f.sample_rate, 0, nullptr)
                              == 0
                          && swr_init(resampler) == 0;
        av_channel_layout_uninit(&layout);
        if (!made) {
            swr_free(&resampler);
            return false;
        }
        sampleFormat = f.format;
        sampleRate = f.sample_rate;
        return true;
    }
};

AudioDecoder::AudioDecoder(const devices::AudioSource& source) : m_source(source), m_stream(std::make_unique<Stream>(source)) {}

AudioDecoder::~AudioDecoder() = default;

qint64 AudioDecoder::lengthMs()
{
    const AVFormatContext* format = m_stream->format;
    const AVStream* stream = format->streams[m_stream->index];
    const AVCodecID codec = stream->codecpar->codec_id;
    // An MPEG audio file tells its length only by its frames, with the
    // encoder's delay and padding in them, or not at all, when FFmpeg
    // guesses it from the first frame's bit rate.
    const bool framesOnly = codec == AV_CODEC_ID_MP3 || codec == AV_CODEC_ID_MP2 || codec == AV_CODEC_ID_MP1
                            || format->duration_estimation_method == AVFMT_DURATION_FROM_BITRATE;
    if (!framesOnly) {
        if (stream->duration > 0 && stream->time_base.num > 0 && stream->time_base.den > 0)
            return av_rescale_q(stream->duration, stream->time_base, Milliseconds);
        if (format->duration > 0)
            return av_rescale_q(format->duration, AV_TIME_BASE_Q, Milliseconds);
    }
    // Counted on a pass of its own, so that decoding still starts at the
    // beginning: the packets' lengths, less the samples the decoder is told
    // to leave out at either end.
    Stream counting(m_source);
    const AVStream* counted = counting.format->streams[counting.index];
    std::int64_t total = 0;
    std::int64_t skippedSamples = 0;
    while (av_read_frame(counting.format, counting.packet) >= 0) {
        if (counting.packet->stream_index == counting.index) {
            if (counting.packet->duration > 0)
                total += counting.packet->duration;
            std::size_t size = 0;
            if (const uint8_t* skip = av_packet_get_side_data(counting.packet, AV_PKT_DATA_SKIP_SAMPLES, &size); skip && size >= 8) {
                std::uint32_t start = 0, end = 0;
                std::memcpy(&start, skip, 4);
                std::memcpy(&end, skip + 4, 4);
                skippedSamples += std::int64_t(start) + end;
            }
        }
        av_packet_unref(counting.packet);
    }
    if (counted->time_base.num <= 0 || counted->time_base.den <= 0 || counted->codecpar->sample_rate <= 0)
        return 0;
    const int rate = counted->codecpar->sample_rate;
    const std::int64_t samples = av_rescale_q(total, counted->time_base, AVRational{1, rate}) - skippedSamples;
    return std::max<qint64>(samples * 1000 / rate, 0);
}

bool AudioDecoder::decodeMore()
{
    Stream& s = *m_stream;
    const auto convert = [&](const uint8_t** in, int count) {
        const int room = s.resampler ? swr_get_out_samples(s.resampler, count) : 0;
        if (room <= 0)
            return;
        m_pending.resize(qsizetype(room) * BytesPerFrame);
        auto* out = reinterpret_cast<uint8_t*>(m_pending.data());
        const int made = swr_convert(s.resampler, &out, room, in, count);
        m_pending.resize(qsizetype(std::max(made, 0)) * BytesPerFrame);
    };
    m_pending.clear();
    m_pendingAt = 0;
    while (m_pending.isEmpty()) {
        const int got = avcodec_receive_frame(s.codec, s.frame);
        if (got == 0) {
            if (s.accepts(*s.frame))
                convert(const_cast<const uint8_t**>(s.frame->extended_data), s.frame->nb_samples);
            av_frame_unref(s.frame);
            continue;
        }
        // A frame the decoder could not make is left out; once the input is
        // over, so is the sound, with what the resampler still holds.
        if (got == AVERROR_EOF || s.inputEnded) {
            if (m_flushed)
                return false;
            m_flushed = true;
            convert(nullptr, 0);
            return !m_pending.isEmpty();
        }
        if (av_read_frame(s.format, s.packet) < 0) {
            s.inputEnded = true;
            avcodec_send_packet(s.codec, nullptr);
            continue;
        }
        // A damaged packet is skipped.
        if (s.packet->stream_index == s.index)
            avcodec_send_packet(s.codec, s.packet);
        av_packet_unref(s.packet);
    }
    return true;
}

qsizetype AudioDecoder::read(char* out, qsizetype size)
{
    size -= size % BytesPerFrame;
    qsizetype given = 0;
    while (given < size) {
        if (m_pendingAt >= m_pending.size() && !decodeMore())
            break;
        const qsizetype part = std::min(size - given, m_pending.size() - m_pendingAt);
        std::memcpy(out + given, m_pending.constData() + m_pendingAt, std::size_t(part));
        given += part;
        m_pendingAt += part;
    }
    return given;
}

} // namespace backend
