#include "platform/display.h"

namespace platform {

bool Display::setMode(QSize size)
{
    // A mode larger than the real screen could not be shown whole; nor can an
    // empty one.
    if (size.width() <= 0 || size.height() <= 0 || size.width() > 8192 || size.height() > 8192)
        return false;
    m_mode = size;
    ++m_modeChanges;
    return true;
}

} // namespace platform
