#include "formats/quoted_field_writer.h"

#include <cmath>

namespace formats {

QuotedFieldWriter::QuotedFieldWriter(base::CodePage codePage) : m_codePage(std::move(codePage)) {}

void QuotedFieldWriter::separate()
{
    if (m_recordOpen)
        m_text += u',';
    m_recordOpen = true;
}

QuotedFieldWriter& QuotedFieldWriter::string(const QString& value)
{
    separate();
    QString v = value;
    v.replace(u'"', u'\'');
    m_text += u'"' + v + u'"';
    return *this;
}

QuotedFieldWriter& QuotedFieldWriter::number(double value)
{
    separate();
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        m_text += QString::number(static_cast<long long>(value));
    else
        m_text += QString::number(value, 'g', 15);
    return *this;
}

QuotedFieldWriter& QuotedFieldWriter::boolean(bool value)
{
    separate();
    m_text += value ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#");
    return *this;
}

QuotedFieldWriter& QuotedFieldWriter::raw(const QString& text)
{
    separate();
    m_text += text;
    return *this;
}

QuotedFieldWriter& QuotedFieldWriter::endRecord()
{
    m_text += QStringLiteral("\r\n");
    m_recordOpen = false;
    return *this;
}

QByteArray QuotedFieldWriter::bytes() const
{
    return m_codePage.encode(m_text);
}

} // namespace formats
