#pragma once

#include <QByteArray>

#include <cstdint>
#include <cstring>

namespace base {

// A bounded window on the bytes of a binary file or one of its records. Every
// read is checked against the window's end; a read past it throws Failure, so
// that a record cut short or a count that claims more than the record holds
// is a failure of that record, never a read out of bounds. Reads are little-
// endian unless their name ends in "be".
class ByteReader {
public:
    ByteReader() = default;
    // whenCutShort: what a read past the end throws, for this window and the
    // windows taken from it; without it, which bytes were wanted where.
    ByteReader(const char* data, qsizetype size, const char* whenCutShort = nullptr)
        : m_data(data), m_size(size), m_cutShort(whenCutShort)
    {
    }
    // A window on the bytes, which must outlive it.
    explicit ByteReader(const QByteArray& bytes, const char* whenCutShort = nullptr)
        : ByteReader(bytes.constData(), bytes.size(), whenCutShort)
    {
    }
    ByteReader(QByteArray&&, const char* = nullptr) = delete;

    qsizetype size() const { return m_size; }
    const char* data() const { return m_data; }
    bool has(qsizetype offset, qsizetype count) const { return offset >= 0 && count >= 0 && offset <= m_size && count <= m_size - offset; }

    std::uint8_t u8(qsizetype offset) const { return byte(at(offset, 1), 0); }
    std::uint16_t u16(qsizetype offset) const
    {
        const char* p = at(offset, 2);
        return static_cast<std::uint16_t>(byte(p, 0) | byte(p, 1) << 8);
    }
    std::int16_t i16(qsizetype offset) const { return static_cast<std::int16_t>(u16(offset)); }
    std::uint32_t u32(qsizetype offset) const
    {
        const char* p = at(offset, 4);
        return std::uint32_t(byte(p, 0)) | std::uint32_t(byte(p, 1)) << 8 | std::uint32_t(byte(p, 2)) << 16 | std::uint32_t(byte(p, 3)) << 24;
    }
    std::int32_t i32(qsizetype offset) const { return static_cast<std::int32_t>(u32(offset)); }
    float f32(qsizetype offset) const
    {
        const std::uint32_t bits = u32(offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::uint16_t u16be(qsizetype offset) const
    {
        const char* p = at(offset, 2);
        return static_cast<std::uint16_t>(byte(p, 0) << 8 | byte(p, 1));
    }
    std::uint32_t u24be(qsizetype offset) const
    {
        const char* p = at(offset, 3);
        return std::uint32_t(byte(p, 0)) << 16 | std::uint32_t(byte(p, 1)) << 8 | byte(p, 2);
    }
    std::uint32_t u32be(qsizetype offset) const
    {
        const char* p = at(offset, 4);
        return std::uint32_t(byte(p, 0)) << 24 | std::uint32_t(byte(p, 1)) << 16 | std::uint32_t(byte(p, 2)) << 8 | byte(p, 3);
    }
    // The bytes [offset, offset + count) as a window of their own.
    ByteReader sub(qsizetype offset, qsizetype count) const { return ByteReader(at(offset, count), count, m_cutShort); }
    QByteArray bytes(qsizetype offset, qsizetype count) const { return QByteArray(at(offset, count), count); }
    // The same window, throwing whenCutShort from now on.
    ByteReader saying(const char* whenCutShort) const { return ByteReader(m_data, m_size, whenCutShort); }

private:
    static std::uint8_t byte(const char* p, int i) { return static_cast<std::uint8_t>(p[i]); }
    const char* at(qsizetype offset, qsizetype count) const
    {
        if (!has(offset, count))
            cutShort(offset, count);
        return m_data + offset;
    }
    [[noreturn]] void cutShort(qsizetype offset, qsizetype count) const;

    const char* m_data = nullptr;
    qsizetype m_size = 0;
    const char* m_cutShort = nullptr;
};

} // namespace base
