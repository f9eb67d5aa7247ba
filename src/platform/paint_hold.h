#pragma once

#include <QPointer>

namespace platform {

class SceneWindow;

// Holds a scene window's paints from its construction until release() or
// its end, whichever comes first; holds nest.
class PaintHold {
public:
    explicit PaintHold(SceneWindow& window);
    ~PaintHold();
    PaintHold(const PaintHold&) = delete;
    PaintHold& operator=(const PaintHold&) = delete;

    void release();

private:
    // A window closed while held has nothing left to release.
    QPointer<SceneWindow> m_window;
};

} // namespace platform
