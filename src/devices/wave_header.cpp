#include "devices/wave_header.h"

#include "base/byte_reader.h"
#include "base/failure.h"

#include <algorithm>
#include <cmath>

namespace devices {

double WaveHeader::frames() const
{
    return double(dataBytes) * 8 / std::max<int>(1, bits) / std::max<int>(1, channels);
}

qint64 WaveHeader::lengthMs() const
{
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
                header = WaveHeader{file.u32(at + 12), file.u16(at + 10), file.u16(at + 22), 0};
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
