#pragma once

#include <algorithm>
#include <cmath>

namespace devices {

// What a sound is heard as, for the player's volumes: the music (MIDI and
// MP3 pieces), the sounds (single sounds and the channels) or a video's
// sound track.
enum class Mix { Sounds, Music, Video };

// The player's volumes, each 0 (silent) to 100 (as the file has it), and
// mute. They scale what reaches the speaker and nothing else: lengths,
// states and the game's timings stay as they are.
struct Volumes {
    static constexpr int Full = 100;

    int master = Full;
    int music = Full;
    int sounds = Full;
    int video = Full;
    bool mute = false;

    // The share of full loudness a sound of that kind is heard at, 0 to 1.
    double gain(Mix mix) const
    {
        if (mute)
            return 0;
        const int own = mix == Mix::Music ? music : mix == Mix::Sounds ? sounds : video;
        return share(master) * share(own);
    }
    // The same in a mixer's steps of 0 to full.
    int level(Mix mix, int full) const { return int(std::lround(gain(mix) * full)); }

    bool operator==(const Volumes&) const = default;

private:
    static double share(int volume) { return std::clamp(volume, 0, Full) / double(Full); }
};

} // namespace devices
