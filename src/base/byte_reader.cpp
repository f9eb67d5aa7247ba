#include "base/byte_reader.h"

#include "base/failure.h"

namespace base {

const char* ByteReader::at(qsizetype offset, qsizetype count) const
{
    if (!has(offset, count))
        throw Failure(QStringLiteral("record cut short: %1 bytes wanted at %2 of %3").arg(count).arg(offset).arg(m_size));
    return m_data + offset;
}

} // namespace base
