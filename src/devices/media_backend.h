#pragma once

#include "devices/audio_output.h"
#include "devices/speaker.h"
#include "devices/video_frames.h"

#include <QString>

#include <functional>
#include <memory>

namespace devices {

// What the media module makes: the sound output and video decoders, built
// on the media libraries (SDL2_mixer with FluidSynth and ALSA, FFmpeg), and
// the voice that reads texts aloud (Qt's TextToSpeech), that
// the player itself does not link, so that a run that plays nothing never
// loads them. `MediaModule` loads it on first use.
class MediaBackend {
public:
    // Raised whenever these interfaces change, so that a module built for
    // another player is refused instead of called wrongly.
    static constexpr int InterfaceVersion = 2;

    virtual ~MediaBackend() = default;

    virtual std::unique_ptr<AudioOutput> makeAudioOutput(AudioOutput::Options options) = 0;
    // Throws Failure for a file that is missing, damaged or in a format the
    // module cannot decode.
    virtual std::unique_ptr<VideoFrames> openVideo(const QString& path) = 0;
    // The system's speech service; what keeps it from speaking (no engine,
    // no service) is told through `notice`, once, and it then says nothing.
    virtual std::unique_ptr<Speaker> makeSpeaker(std::function<void(const QString&)> notice) = 0;
};

// The one symbol the module exports: a new back end the caller owns, or
// null when the caller expects another interface version.
using MakeMediaBackendFunction = MediaBackend* (*)(int interfaceVersion);
inline constexpr char kMakeMediaBackendSymbol[] = "loomplay_make_media_backend";

} // namespace devices
