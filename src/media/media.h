#pragma once

#include "devices/volumes.h"

#include <QDateTime>
#include <QImage>
#include <QJsonObject>
#include <QString>

class QObject;

#include <cstdint>
#include <functional>
#include <memory>

namespace run {
class Context;
}
namespace devices {
class AudioDevice;
class MediaCommands;
class MediaModule;
class Mp3Library;
class WaveMixLibrary;
}

namespace media {

class MidiMusic;
class Mmedia;
class Mp3Music;
class SoundChannels;
class Speech;

// The media back end of a run: the audio output, the media command layer,
// the wave mixer and the MP3 library underneath; the shared media object
// for single wave sounds, the sound channels, MIDI and MP3 music on top.
// Built by the runtime after its clock and dialogs and destroyed before
// them; the MP3 worker is joined when it goes.
class Media {
public:
    explicit Media(run::Context& rt);
    ~Media();
    Media(const Media&) = delete;
    Media& operator=(const Media&) = delete;

    // MIDI
    QString MidiStatus();
    const QString& MidiFileName() const;
    bool MidiLoop() const;
    void PlayMIDImusic(const QString& path, bool repeat);
    void StopMIDIMusic();
    // MP3
    bool IsMP3Playing() const;
    void StopMP3();
    std::int16_t MP3Duration() const;
    void setMP3Duration(std::int16_t seconds);
    QDateTime MP3StartTime() const;
    void setMP3StartTime(const QDateTime& when);
    // MP3Timer's tick with its tag: starts the music unless a video plays.
    void MP3Timer_Timer(const QString& path);
    // The wave mixer and the channel files
    void EnsureWaveMix();
    void ReleaseWaveMix();
    void PlaySoundChannels(const QString& path);
    // Single wave sounds
    Mmedia& SoundMedia() { return *m_soundMedia; }
    // Video: the VideoMedia object; the handle that names a picture element
    // of the game window as a video's parent (PictureBox, CutSceneArea).
    Mmedia& VideoMedia() { return *m_videoMedia; }
    // Reading aloud, through the same module.
    Speech& speech() { return *m_speech; }
    static qint64 parentHandle(const QString& control);
    // The picture element a parent handle names.
    static QString parentControl(qint64 handle);
    // Where a video's pictures show: the surface of the game window, which
    // puts each picture in the parent a handle names, and hides it again.
    struct VideoSurface {
        std::function<void(qint64 parent, const QImage& picture)> show;
        std::function<void()> hide;
    };
    // The game window, while it exists: the window whose events carry the
    // end of MIDI music, and its video surface (nullptr and {} when it goes).
    void setGameWindow(QObject* window, VideoSurface surface);
    void StopMovie();
    void VideoMediaClose();
    QString VideoStatus();
    // True exactly while the video's status is "playing".
    bool IsVideoPlaying();

    // The player's pause: every sound, piece and video holds where it is
    // and goes on from there when released.
    void hold(bool held);

    // The player's volumes, at once for what plays.
    void setVolumes(const devices::Volumes& volumes);
    devices::Volumes volumes() const;

    devices::MediaCommands& commands() { return *m_commands; }
    // What plays now, for the dump.
    QJsonObject state();

private:
    run::Context& m_rt;
    VideoSurface m_videoSurface;
    // Loaded with the first sound, piece or video, not before.
    std::unique_ptr<devices::MediaModule> m_module;
    std::unique_ptr<devices::AudioDevice> m_audio;
    std::unique_ptr<devices::MediaCommands> m_commands;
    std::unique_ptr<devices::WaveMixLibrary> m_waveMix;
    std::unique_ptr<devices::Mp3Library> m_mp3Library;
    std::unique_ptr<Mmedia> m_soundMedia;
    std::unique_ptr<SoundChannels> m_channels;
    std::unique_ptr<MidiMusic> m_midi;
    std::unique_ptr<Mp3Music> m_mp3;
    std::unique_ptr<Mmedia> m_videoMedia;
    std::unique_ptr<Speech> m_speech;
};

} // namespace media
