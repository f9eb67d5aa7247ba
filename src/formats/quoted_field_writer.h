#pragma once

#include "base/code_page.h"

#include <QByteArray>
#include <QString>

namespace formats {

// Writes quoted-field records: fields separated by commas, one record a line,
// lines ending in CR LF, text encoded in the game's code page.
class QuotedFieldWriter {
public:
    explicit QuotedFieldWriter(base::CodePage codePage = base::CodePage());

    // A string field. A double quote cannot be written inside a field; it
    // becomes a single quote so the file still reads back field for field.
    QuotedFieldWriter& string(const QString& value);
    QuotedFieldWriter& number(double value);
    QuotedFieldWriter& boolean(bool value);
    // A field written as it stands, unquoted (for tests of odd files).
    QuotedFieldWriter& raw(const QString& text);
    // Ends the current record.
    QuotedFieldWriter& endRecord();

    // Convenience: a record of one field.
    QuotedFieldWriter& line(const QString& value) { return string(value).endRecord(); }

    QByteArray bytes() const;

private:
    void separate();

    base::CodePage m_codePage;
    QString m_text;
    bool m_recordOpen = false;
};

} // namespace formats
