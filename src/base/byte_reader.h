#pragma once

#include <QByteArray>

#include <cstdint>
#include <cstring>

namespace base {

// A bounded window on the bytes of one record of a binary file. Every read
// is checked against the window's end; a read past it throws Failure, so
// that a record cut short or a count that claims more than the record holds
// is a failure of that record, never a read out of bounds.
class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const char* data, qsizetype size) : m_data(data), m_size(size) {}

    qsizetype size() const { return m_size; }
    const char* data() const { return m_data; }
    bool has(qsizetype offset, qsizetype count) const { return offset >= 0 && count >= 0 && offset <= m_size && count <= m_size - offset; }

    std::uint8_t u8(qsizetype offset) const { return static_cast<std::uint8_t>(*at(offset, 1)); }
    std::uint16_t u16(qsizetype offset) const { return static_cast<std::uint16_t>(u8(offset) | (u8(offset + 1) << 8)); }
    std::int16_t i16(qsizetype offset) const { return static_cast<std::int16_t>(u16(offset)); }
    std::uint32_t u32(qsizetype offset) const { return static_cast<std::uint32_t>(u16(offset)) | (static_cast<std::uint32_t>(u16(offset + 2)) << 16); }
    std::int32_t i32(qsizetype offset) const { return static_cast<std::int32_t>(u32(offset)); }
    float f32(qsizetype offset) const
    {
        const std::uint32_t bits = u32(offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // The bytes [offset, offset + count) as a window of their own.
    ByteReader sub(qsizetype offset, qsizetype count) const { return ByteReader(at(offset, count), count); }
    QByteArray bytes(qsizetype offset, qsizetype count) const { return QByteArray(at(offset, count), count); }

private:
    const char* at(qsizetype offset, qsizetype count) const;

    const char* m_data = nullptr;
    qsizetype m_size = 0;
};

} // namespace base
