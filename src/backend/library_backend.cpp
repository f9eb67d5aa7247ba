#include "backend/library_backend.h"

#include "backend/audio_decoder.h"
#include "backend/ffmpeg_video.h"
#include "backend/qt_speaker.h"
#include "backend/sdl_audio_output.h"

#include <QtGlobal>

namespace backend {

LibraryBackend::LibraryBackend()
{
    KeepFfmpegQuiet();
}

std::unique_ptr<devices::AudioOutput> LibraryBackend::makeAudioOutput(devices::AudioOutput::Options options)
{
    return std::make_unique<SdlAudioOutput>(std::move(options));
}

std::unique_ptr<devices::VideoFrames> LibraryBackend::openVideo(const QString& path)
{
    return std::make_unique<FfmpegVideo>(path);
}

std::unique_ptr<devices::Speaker> LibraryBackend::makeSpeaker(std::function<void(const QString&)> notice)
{
    return std::make_unique<QtSpeaker>(std::move(notice));
}

} // namespace backend

// What the player's MediaModule looks up: the caller owns the back end given.
extern "C" Q_DECL_EXPORT devices::MediaBackend* loomplay_make_media_backend(int interfaceVersion)
{
    if (interfaceVersion != devices::MediaBackend::InterfaceVersion)
        return nullptr;
    return std::make_unique<backend::LibraryBackend>().release();
}
