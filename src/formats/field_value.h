#pragma once

#include <QString>

namespace formats {

// A field read without a type: it keeps what it is. Booleans are numbers too
// (true = -1, false = 0), so code that compares an untyped field with a number
// sees the same values the authoring tool wrote.
struct FieldValue {
    enum class Kind { String, Number, Boolean };

    Kind kind = Kind::String;
    QString text;      // String: the text without quotes
    double number = 0; // Number and Boolean

    bool isString() const { return kind == Kind::String; }
    // The value as a number; a string converts as the reader's numbers do.
    double toNumber() const;
    // The value as a string; numbers print in the shortest decimal form.
    QString toText() const;
};

} // namespace formats
