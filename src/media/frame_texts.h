#pragma once

#include <functional>

namespace run {
class Context;
}
namespace platform {
class Element;
class SceneWindow;
}

namespace media {

// The texts of the frame on screen: one label per ".lbl" file of the frame's
// folder, in name order, later ones on top. Every step is tried on its own: a
// short or broken file still gives a label with what could be read.
class FrameTexts {
public:
    FrameTexts(run::Context& rt, platform::SceneWindow& window, platform::Element& picture);

    // Makes a label of each text file of the frame, and reads its text aloud.
    void LoadTexts();
    void ResetFrameTexts();

    // Wires the mouse handlers of each new label (index, button 1 or 2).
    std::function<void(int index, int button)> onPress;
    std::function<void(int index)> onMove;

private:
    run::Context& m_rt;
    platform::SceneWindow& m_window;
    platform::Element& m_picture;
    int m_highest = 0;
};

} // namespace media
