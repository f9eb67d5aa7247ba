#pragma once

#include <QByteArray>

#include <cstdint>

namespace base {

// Builds the bytes of a binary file: every number appended little-endian
// unless its name ends in "be", as ByteReader reads them back.
class ByteWriter {
public:
    ByteWriter& u8(std::uint8_t value);
    ByteWriter& u16(std::uint16_t value);
    ByteWriter& u32(std::uint32_t value);
    ByteWriter& u16be(std::uint16_t value);
    ByteWriter& u24be(std::uint32_t value);
    ByteWriter& u32be(std::uint32_t value);
    ByteWriter& raw(const QByteArray& bytes);

    const QByteArray& bytes() const { return m_bytes; }

private:
    // The low count bytes of value, lowest first or highest first.
    ByteWriter& little(std::uint32_t value, int count);
    ByteWriter& big(std::uint32_t value, int count);

    QByteArray m_bytes;
};

} // namespace base
