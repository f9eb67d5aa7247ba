#pragma once

#include <QString>

#include <cstdint>
#include <map>

namespace run {
class Context;
}
namespace media {
class AnimatedPictures;
}

namespace engine {

class Game;

// The clickable areas of the frame on screen: built from the area files,
// shown or hidden by their conditions and by removal, and turned into the
// click sequence when pressed. The files are read again on every refresh:
// game authors edit them while testing.
class Areas {
public:
    Areas(run::Context& rt, Game& game, media::AnimatedPictures& animations);

    void LoadAreas();
    void ShowOrNotShowAreas();
    void ResetFrameAreas();

    void AreaClick(std::int16_t index, std::int16_t button);
    void Area_MouseDown(std::int16_t index, std::int16_t button);
    void AniGifBox_MouseDown(std::int16_t index, std::int16_t button);

    // The index of the animated picture that shows an area (0: none).
    std::int32_t aniGifIndex(std::int16_t area) const;

    // The folder of the current frame's area files, ending in the separator.
    QString areaFolder() const;

private:
    void loadArea(std::int16_t i);
    bool areaShown(std::int16_t i);
    void wireArea(std::int16_t i);

    run::Context& m_rt;
    Game& m_game;
    media::AnimatedPictures& m_animations;
    std::map<std::int16_t, std::int32_t> m_aniGifIndex;
    std::int16_t m_highestArea = 0;
    // Counts the unloadings of the areas.
    unsigned m_resets = 0;
};

} // namespace engine
