#pragma once

#include "platform/animation.h"

#include <QString>

#include <cstdint>
#include <map>
#include <memory>

namespace run {
class Context;
}
namespace platform {
class Element;
class SceneWindow;
}

namespace media {

// The animated pictures of a frame's areas: for index i a container
// AniGifBox(i), which takes clicks and the position, holding the animation
// AniGif(i).
//
// Speed: the games give a number where 50 is the usual pace (the default of
// areas). Here 50 plays the GIF at its own frame delays and every unit is 2 %
// of that pace: 100 plays twice as fast, 25 at half speed. Values below 1
// mean 50.
class AnimatedPictures {
public:
    AnimatedPictures(run::Context& rt, platform::SceneWindow& window, platform::Element& parent);
    ~AnimatedPictures();

    static int speedPercent(std::int16_t speed) { return (speed >= 1 ? speed : 50) * 2; }

    // Creates the pair for the index at (left, top) twips and starts it;
    // returns the index, or 0 when nothing was created. Throws Failure when
    // the pair exists already.
    std::int16_t AniGifNewWithIndex(std::int16_t index, const QString& file, std::int16_t left, std::int16_t top, std::int16_t speed);
    void AniGifUpdate(std::int16_t index, const QString& file, std::int16_t speed);

    // The animation of an index, or nullptr.
    platform::Animation* AniGif(std::int16_t index) const;
    platform::Element* AniGifBox(std::int16_t index) const;
    std::int16_t highestIndex() const { return m_animations.empty() ? 0 : m_animations.rbegin()->first; }
    std::int16_t highestBoxIndex() const { return m_boxes.empty() ? 0 : m_boxes.rbegin()->first; }
    // Unloads the animation of an index (its container stays).
    void unloadAniGif(std::int16_t index);
    void unloadAniGifBox(std::int16_t index);
    const std::map<std::int16_t, std::unique_ptr<platform::Animation>>& animations() const { return m_animations; }

private:
    run::Context& m_rt;
    platform::SceneWindow& m_window;
    platform::Element& m_parent;
    std::map<std::int16_t, std::unique_ptr<platform::Animation>> m_animations;
    std::map<std::int16_t, platform::Element*> m_boxes;
};

} // namespace media
