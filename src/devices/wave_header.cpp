#include "devices/wave_header.h"

#include "base/byte_reader.h"
#include "base/failure.h"

#include <algorithm>
#include <cmath>

namespace devices {

namespace {

enum Format : std::uint16_t {
    Pcm = 0x0001,
    MicrosoftAdpcm = 0x0002,
    IeeeFloat = 0x0003,
    ALaw = 0x0006,
    MuLaw = 0x0007,
    ImaAdpcm = 0x0011,
    Extensible = 0xFFFE,
};

} // namespace

bool WaveHeader::mixerReads() const
{
    switch (format) {
    case Pcm:
    case MicrosoftAdpcm:
    case IeeeFloat:
    case ALaw:
    case MuLaw:
    case ImaAdpcm:
        return true;
    default:
        return false;
    }
}

double WaveHeader::frames() const
{
    return double(dataBytes) * 8 / std::max<int>(1, bits) / std::max<int>(1, channels);
}

qint64 WaveHeader::lengthMs() const
{
    if (!mixerReads())
        return byteRate > 0 ? qint64(std::llround(double(dataBytes) * 1000 / byteRate)) : 0;
    return rate > 0 ? qint64(std::llround(frames() * 1000 / rate)) : 0;
}

std::optional<WaveHeader> ReadWaveHeader(const QByteArray& bytes)
{
    const base::ByteReader file(bytes);
    if (!bytes.startsWith("RIFF") || !file.has(8, 4) || file.bytes(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<WaveHeader> header;
    qsizetype dataBytes = 0;
    try {
        for (qsizetype at = 12; file.has(at, 8);) {
            const std::uint32_t size = file.u32(at + 4);
            const QByteArray id = file.bytes(at, 4);
            if (id == "fmt ") {
                header = WaveHeader{file.u32(at + 12), file.u16(at + 10), file.u16(at + 22), 0, file.u16(at + 8), file.u32(at + 16)};
                // An extensible header names its kind in the first two bytes
                // of its sub-format.
                if (header->format == Extensible && size >= 40)
                    header->format = file.u16(at + 8 + 24);
            } else if (id == "data") {
                // A size past the end of the file claims what is not there.
                dataBytes = std::min<qsizetype>(size, bytes.size() - at - 8);
            }
            at += 8 + qsizetype(size) + (size & 1);
        }
    } catch (const base::Failure&) {
    }
    if (header)
        header->dataBytes = dataBytes;
    return header;
}

} // namespace devices
