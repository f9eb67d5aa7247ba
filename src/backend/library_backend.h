#pragma once

#include "devices/media_backend.h"

namespace backend {

// The media module's back end: sound through SDL2_mixer (FluidSynth for
// MIDI), videos and compressed sound through FFmpeg, speech through Qt's
// TextToSpeech. The libraries are
// made quiet on the terminal when it is made.
class LibraryBackend : public devices::MediaBackend {
public:
    LibraryBackend();

    std::unique_ptr<devices::AudioOutput> makeAudioOutput(devices::AudioOutput::Options options) override;
    std::unique_ptr<devices::VideoFrames> openVideo(const QString& path) override;
    std::unique_ptr<devices::Speaker> makeSpeaker(std::function<void(const QString&)> notice) override;
};

} // namespace backend
