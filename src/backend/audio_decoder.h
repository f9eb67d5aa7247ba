#pragma once

#include "devices/audio_source.h"

#include <QByteArray>

#include <memory>

namespace backend {

// FFmpeg writes what it works around (a damaged picture, a length it has to
// guess) to the terminal; the player tells what matters itself, once.
void KeepFfmpegQuiet();

// One sound decoded with FFmpeg a packet at a time and resampled to the
// output's format (16-bit stereo at 44,100 frames a second), so that a sound
// of any length costs only what is asked of it at once. Throws Failure from
// the constructor for a source without sound FFmpeg can decode, or at a
// sampling rate no sound card plays.
class AudioDecoder {
public:
    static constexpr int OutputRate = 44100;
    static constexpr int BytesPerFrame = 4;

    explicit AudioDecoder(const devices::AudioSource& source);
    ~AudioDecoder();
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;

    // The length the container gives. Where it can only guess it from the
    // first packet's bit rate (an MP3 of varying rate without a header that
    // counts its frames), the stream's packets are counted instead.
    qint64 lengthMs();
    // Decodes on until out holds up to size bytes of whole frames; the bytes
    // given, 0 once the sound is over.
    qsizetype read(char* out, qsizetype size);

private:
    struct Stream;
    // Decodes the next frame into m_pending; false at the end.
    bool decodeMore();

    devices::AudioSource m_source;
    std::unique_ptr<Stream> m_stream;
    QByteArray m_pending;
    qsizetype m_pendingAt = 0;
    bool m_flushed = false;
};

} // namespace backend
