#include "platform/record_bytes.h"

#include "platform/failure.h"

namespace platform {

const char* RecordBytes::at(qsizetype offset, qsizetype count) const
{
    if (!has(offset, count))
        throw Failure(QStringLiteral("record cut short: %1 bytes wanted at %2 of %3").arg(count).arg(offset).arg(m_size));
    return m_data + offset;
}

} // namespace platform
