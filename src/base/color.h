#pragma once

#include <QColor>

#include <cstdint>

namespace base {

// A colour as the game data writes it: red in the low byte, then green,
// then blue (0x00BBGGRR); the high byte is not part of the colour.
inline QColor ColorFromBgr(std::int32_t value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

} // namespace base
