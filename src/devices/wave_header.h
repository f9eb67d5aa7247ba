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

    // Its frames, counted by its bits a sample (4 for the ADPCM kinds).
    double frames() const;
    // How long it plays, 0 when the header names no rate.
    qint64 lengthMs() const;
};

// The header of a wave file; none when the bytes are no wave file or name
// no format.
std::optional<WaveHeader> ReadWaveHeader(const QByteArray& bytes);

} // namespace devices
