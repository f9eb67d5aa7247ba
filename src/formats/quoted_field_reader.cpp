#include "formats/quoted_field_reader.h"

#include "base/failure.h"

#include <cmath>
#include <limits>

namespace formats {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }

// Matches a whole decimal number: optional sign, digits with at most one
// point, an optional exponent. Returns false for anything else.
bool parseDecimal(const QString& s, double& out)
{
    if (s.isEmpty())
        return false;
    bool ok = false;
    // QString::toDouble is locale-independent (C locale) and rejects
    // trailing garbage; it accepts "inf"/"nan", which are not numbers here.
    for (QChar c : s) {
        if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E'))
            return false;
    }
    const double v = s.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

// Round half to even, as the runtime's integer conversions did.
double roundEven(double v)
{
    return std::nearbyint(v);
}

} // namespace

double FieldValue::toNumber() const
{
    if (kind == Kind::String)
        return QuotedFieldReader::fieldNumber(text);
    return number;
}

QString FieldValue::toText() const
{
    if (kind == Kind::String)
        return text;
    if (kind == Kind::Boolean)
        return number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    return QString::number(number, 'g', 15);
}

QuotedFieldReader::QuotedFieldReader(const QByteArray& bytes, const base::CodePage& codePage)
    : m_text(codePage.decode(bytes))
{
}

bool QuotedFieldReader::atEnd() const
{
    return m_pos >= m_text.size();
}

QuotedFieldReader::Raw QuotedFieldReader::next()
{
    ++m_field;
    if (atEnd())
        fail(base::Failure::Kind::PastEnd, QStringLiteral("Input past end of file"), {});
    const qsizetype n = m_text.size();
    while (m_pos < n && isBlank(m_text[m_pos]))
        ++m_pos;
    Raw raw;
    if (m_pos < n && m_text[m_pos] == u'"') {
        raw.quoted = true;
        const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
        const qsizetype end = close < 0 ? n : close;
        raw.text = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = close < 0 ? n : close + 1;
        // Anything between the closing quote and the separator is dropped.
        while (m_pos < n && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < n && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
        raw.text = m_text.mid(start, m_pos - start);
        while (!raw.text.isEmpty() && isBlank(raw.text.back()))
            raw.text.chop(1);
    }
    // Step past the separator: a comma, or one line end (CR LF, CR or LF).
    if (m_pos < n) {
        if (m_text[m_pos] == u',') {
            ++m_pos;
        } else if (m_text[m_pos] == u'\r') {
            ++m_pos;
            if (m_pos < n && m_text[m_pos] == u'\n')
                ++m_pos;
        } else if (m_text[m_pos] == u'\n') {
            ++m_pos;
        }
    }
    return raw;
}

double QuotedFieldReader::fieldNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0)
        return -1;
    if (t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0)
        return 0;
    double v = 0;
    return parseDecimal(t, v) ? v : 0;
}

double QuotedFieldReader::leadingNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (isBlank(text[i]) || isLineEnd(text[i])))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    bool digits = false;
    bool point = false;
    while (i < n) {
        if (text[i].isDigit() && text[i].unicode() < 128) {
            digits = true;
        } else if (text[i] == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        ++i;
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double v = text.mid(start, i - start).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0;
}

double QuotedFieldReader::readNumber(double low, double high, const char* typeName)
{
    const double v = numberOf(next().text);
    if (v < low || v > high) {
        const QString type = QLatin1String(typeName);
        const QString value = QStringLiteral("%1").arg(v);
        fail(base::Failure::Kind::Overflow, QStringLiteral("Overflow: %1 does not fit in %2").arg(value, type), type, value);
    }
    return v;
}

void QuotedFieldReader::fail(base::Failure::Kind kind, const QString& what, const QString& subject, const QString& value) const
{
    base::Failure failure(kind, what, subject, value);
    failure.setPosition({{}, m_field});
    throw failure;
}

QString QuotedFieldReader::readString()
{
    return next().text;
}

std::int16_t QuotedFieldReader::readInt16()
{
    const double v = roundEven(readNumber(-32768.5, 32767.5, "16-bit integer"));
    if (v < -32768 || v > 32767)
        fail(base::Failure::Kind::Overflow, QStringLiteral("Overflow: 16-bit integer"), QStringLiteral("16-bit integer"));
    return static_cast<std::int16_t>(v);
}

std::int32_t QuotedFieldReader::readInt32()
{
    const double v = roundEven(readNumber(-2147483648.5, 2147483647.5, "32-bit integer"));
    if (v < -2147483648.0 || v > 2147483647.0)
        fail(base::Failure::Kind::Overflow, QStringLiteral("Overflow: 32-bit integer"), QStringLiteral("32-bit integer"));
    return static_cast<std::int32_t>(v);
}

float QuotedFieldReader::readSingle()
{
    const double maxSingle = std::numeric_limits<float>::max();
    return static_cast<float>(readNumber(-maxSingle, maxSingle, "single"));
}

double QuotedFieldReader::readDouble()
{
    return numberOf(next().text);
}

double QuotedFieldReader::numberOf(const QString& text)
{
    const QString t = text.trimmed();
    double v = 0;
    if (!t.isEmpty() && !parseDecimal(t, v) && t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) != 0
        && t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) != 0)
        m_notNumbers.push_back({m_field, t.left(40)});
    return fieldNumber(t);
}

bool QuotedFieldReader::readBoolean()
{
    const Raw raw = next();
    const QString t = raw.text.trimmed();
    if (t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0 || t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0 || t.isEmpty())
        return false;
    double v = 0;
    if (!parseDecimal(t, v))
        fail(base::Failure::Kind::TypeMismatch, QStringLiteral("Type mismatch: '%1' is not a Boolean").arg(t.left(40)), QStringLiteral("Boolean"), t.left(40));
    return v != 0;
}

FieldValue QuotedFieldReader::readAny()
{
    const Raw raw = next();
    FieldValue value;
    if (raw.quoted) {
        value.text = raw.text;
        return value;
    }
    const QString t = raw.text.trimmed();
    if (t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0) {
        value.kind = FieldValue::Kind::Boolean;
        value.number = -1;
    } else if (t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0) {
        value.kind = FieldValue::Kind::Boolean;
        value.number = 0;
    } else if (double v = 0; parseDecimal(t, v)) {
        value.kind = FieldValue::Kind::Number;
        value.number = v;
        value.text = t;
    } else {
        value.text = t;
    }
    return value;
}

void QuotedFieldReader::skip()
{
    next();
}

} // namespace formats
