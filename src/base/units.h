#pragma once

#include "base/failure.h"

#include <cstdint>

namespace base {

// Pixels to twips as the runtime computed them: a 16-bit product, so a value
// above 2184 pixels (or below -2184) does not fit and is a failure.
inline std::int16_t twips16(long long pixels)
{
    const long long twips = pixels * 15;
    if (twips < -32768 || twips > 32767)
        throw Failure("Overflow: twips do not fit in 16 bits");
    return static_cast<std::int16_t>(twips);
}

} // namespace base
