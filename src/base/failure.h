#pragma once

#include <QString>

#include <stdexcept>

namespace base {

// The one error type of the player. Readers of game data, the file system
// layer and the runtime's operations throw it; each operation catches it where
// the behaviour says (skip the step, report and stop, or go on with the next).
class Failure : public std::runtime_error {
public:
    explicit Failure(const QString& what) : std::runtime_error(what.toStdString()) {}
    explicit Failure(const char* what) : std::runtime_error(what) {}
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
