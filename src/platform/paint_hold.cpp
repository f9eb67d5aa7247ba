#include "platform/paint_hold.h"

#include "platform/scene_window.h"

namespace platform {

PaintHold::PaintHold(SceneWindow& window) : m_window(&window)
{
    window.holdPaints();
}

PaintHold::~PaintHold()
{
    release();
}

void PaintHold::release()
{
    if (m_window)
        m_window->releasePaints();
    m_window = nullptr;
}

} // namespace platform
