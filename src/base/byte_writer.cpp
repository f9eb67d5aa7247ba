#include "base/byte_writer.h"

namespace base {

ByteWriter& ByteWriter::little(std::uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        m_bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return *this;
}

ByteWriter& ByteWriter::big(std::uint32_t value, int count)
{
    for (int i = count - 1; i >= 0; --i)
        m_bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return *this;
}

ByteWriter& ByteWriter::u8(std::uint8_t value) { return little(value, 1); }
ByteWriter& ByteWriter::u16(std::uint16_t value) { return little(value, 2); }
ByteWriter& ByteWriter::u32(std::uint32_t value) { return little(value, 4); }
ByteWriter& ByteWriter::u16be(std::uint16_t value) { return big(value, 2); }
ByteWriter& ByteWriter::u24be(std::uint32_t value) { return big(value, 3); }
ByteWriter& ByteWriter::u32be(std::uint32_t value) { return big(value, 4); }

ByteWriter& ByteWriter::raw(const QByteArray& bytes)
{
    m_bytes.append(bytes);
    return *this;
}

} // namespace base
