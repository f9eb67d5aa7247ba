#pragma once

#include <QString>

namespace run {
class Context;
}
namespace platform {
class SceneWindow;
class Timer;
}

namespace media {

// Messages of actions: in the black strip along the bottom of the game
// picture, shown for (length x 70 + 1000) ms or until clicked, or in a
// message box titled with the game's name.
class TextMessages {
public:
    TextMessages(run::Context& rt, platform::SceneWindow& window, platform::Timer& timer);

    void ShowTextMessage(const QString& message, bool inStrip);
    // The strip's closing: by its timer or a click on it or its text.
    void closeStrip();

private:
    run::Context& m_rt;
    platform::SceneWindow& m_window;
    platform::Timer& m_timer;
};

} // namespace media
