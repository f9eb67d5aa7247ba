#include "base/byte_reader.h"

#include "base/failure.h"

namespace base {

void ByteReader::cutShort(qsizetype offset, qsizetype count) const
{
    if (m_cutShort)
        throw Failure(m_cutShort);
    throw Failure(QStringLiteral("record cut short: %1 bytes wanted at %2 of %3").arg(count).arg(offset).arg(m_size));
}

} // namespace base
