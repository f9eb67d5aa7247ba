#pragma once

#include <QString>

#include <cstdint>

namespace state {

// One named 16-bit value: a game variable, or a removed area (frame name and
// area index).
struct ClassVariable {
    QString Name;
    std::int16_t Value = 0;
};

} // namespace state
