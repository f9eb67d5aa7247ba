#pragma once

#include <QString>

#include <stdexcept>

namespace base {

// The one error type of the player. Readers of game data, the file system
// layer and the runtime's operations throw it; each operation catches it where
// the behaviour says (skip the step, report and stop, or go on with the next).
// Besides its text, a failure says what kind of fault it is and where it
// happened, so that a caller such as the game checker can explain it in its
// own words without reading the text.
class Failure : public std::runtime_error {
public:
    enum class Kind {
        Other,        // the text says it all
        PastEnd,      // a read past the last field of a file
        Overflow,     // a value out of the range of its type or property
        TypeMismatch, // text where a number or a Boolean belongs
        BadValue,     // a value the property cannot take
        OutOfRange,   // an index past the end of a list
    };
    // Where it happened: the file, when known, and the field (from 1) of a
    // data file; 0 when not known.
    struct Position {
        QString file;
        int field = 0;
    };

    explicit Failure(const QString& what) : std::runtime_error(what.toStdString()) {}
    explicit Failure(const char* what) : std::runtime_error(what) {}
    // subject: the type or property the fault concerns ("16-bit integer",
    // "Boolean", "font size", "interface string"); value: the text read or
    // the index asked for, when there is one.
    Failure(Kind kind, const QString& what, QString subject, QString value = {})
        : std::runtime_error(what.toStdString()), m_kind(kind), m_subject(std::move(subject)), m_value(std::move(value))
    {
    }

    Kind kind() const { return m_kind; }
    const QString& subject() const { return m_subject; }
    const QString& value() const { return m_value; }
    const Position& position() const { return m_position; }
    void setPosition(Position position) { m_position = std::move(position); }

private:
    Kind m_kind = Kind::Other;
    QString m_subject;
    QString m_value;
    Position m_position;
};

// Runs one step of an operation whose failing steps are skipped silently:
// a Failure ends the step and the operation goes on with the next one.
// Returns whether the step ran to its end.
template <typename Step>
bool SkipOnFailure(Step&& step)
{
    try {
        step();
        return true;
    } catch (const Failure&) {
        return false;
    }
}

} // namespace base
