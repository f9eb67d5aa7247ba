#pragma once

#include "media/wave_mix.h"

#include <QString>

#include <memory>

namespace run {
class Context;
}
namespace devices {
class WaveMixLibrary;
}

namespace media {

class Media;

// The eight sound channels of frames and actions: a channel file starts and
// stops waves on channels 0 to 7 through the mixer, which lives from the
// first channel file that needs it until it is released (a single wave
// sound or MP3 music takes the sound device from it).
class SoundChannels {
public:
    SoundChannels(run::Context& rt, Media& media, devices::WaveMixLibrary& library);
    ~SoundChannels();

    void PlaySoundChannels(const QString& file);
    void EnsureWaveMix();
    void ReleaseWaveMix();

    bool WaveMixActive() const { return m_mixer != nullptr; }

private:
    run::Context& m_rt;
    Media& m_media;
    devices::WaveMixLibrary& m_library;
    std::unique_ptr<WaveMix> m_mixer;
    bool m_initFailed = false;
};

} // namespace media
