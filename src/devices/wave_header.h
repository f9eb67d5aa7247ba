#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace devices {

// What a wave file's chunks tell of its sound.
struct WaveHeader {
    std::uint32_t rate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bits = 0;
    qsizetype dataBytes = 0;
    // The kind of its samples (1 for PCM), the one its sub-format names in
    // an extensible header.
    std::uint16_t format = 1;
    // The bytes of data a second of it takes, as the header says.
    std::uint32_t byteRate = 0;

    // Whether the mixer's own reader decodes it: PCM, float, A-law, mu-law
    // and the two ADPCM kinds. Others (MP3 or GSM inside a wave file) go
    // to the general decoder.
    bool mixerReads() const;
    // Its frames, counted by its bits a sample (4 for the ADPCM kinds).
    double frames() const;
    // How long it plays, 0 when the header names no rate: by its frames
    // for the kinds the mixer reads, by its byte rate for the others.
    qint64 lengthMs() const;
};

// The header of a wave file; none when the bytes are no wave file or name
// no format.
std::optional<WaveHeader> ReadWaveHeader(const QByteArray& bytes);

} // namespace devices
