#pragma once

#include "base/code_page.h"
#include "base/failure.h"
#include "formats/field_value.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace formats {

// Reads a quoted-field file one field at a time, whatever the line layout.
// Every failure (reading past the last field, a number out of its type's
// range, text where a Boolean belongs) throws base::Failure; nothing in
// here trusts the bytes it is given.
class QuotedFieldReader {
public:
    QuotedFieldReader(const QByteArray& bytes, const base::CodePage& codePage);

    // True when no field is left to read.
    bool atEnd() const;

    QString readString();
    std::int16_t readInt16();
    std::int32_t readInt32();
    float readSingle();
    double readDouble();
    bool readBoolean();
    FieldValue readAny();
    // Reads one field of any type and throws it away.
    void skip();

    // The number (from 1) of the field read last or being read: a failure
    // thrown by a read belongs to this field.
    int fieldIndex() const { return m_field; }
    // Number fields whose text is not a number: they read 0, as the player
    // always read them, and are kept here for whoever wants to tell.
    struct NotANumber {
        int field;
        QString text;
    };
    const std::vector<NotANumber>& notNumbers() const { return m_notNumbers; }

    // The leading decimal number of a text (digits, sign, one point), 0 when
    // it has none: how number texts such as a timer duration are converted.
    static double leadingNumber(const QString& text);
    // Whole-field conversion: an empty or non-numeric text reads 0.
    static double fieldNumber(const QString& text);

private:
    struct Raw {
        QString text;
        bool quoted = false;
    };
    Raw next();
    // fieldNumber, noting a text that is not a number.
    double numberOf(const QString& text);
    double readNumber(double low, double high, const char* typeName);
    // Throws the failure at the field being read.
    [[noreturn]] void fail(base::Failure::Kind kind, const QString& what, const QString& subject, const QString& value = {}) const;

    QString m_text;
    qsizetype m_pos = 0;
    int m_field = 0;
    std::vector<NotANumber> m_notNumbers;
};

} // namespace formats
