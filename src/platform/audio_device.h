#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <mutex>

namespace platform {

// The sound output of the player, over SDL2_mixer: sounds decoded whole
// (WAV in PCM and the ADPCM kinds, MP3) played on numbered channels, and one
// MIDI piece at a time synthesised by FluidSynth. It opens on first use.
// Without a sound card it opens a silent output, so sounds keep their
// lengths and states while nothing is heard, and says so once; only when
// even that fails does it stay closed. Nothing here knows the game's clock:
// the layers above time every end themselves.
class AudioDevice {
public:
    struct Options {
        // A silent output from the start (headless runs).
        bool silent = false;
        // A silent output because the player asked for no sound: nothing to tell.
        bool muted = false;
        // The General MIDI soundfont; empty: the one Debian installs.
        QString soundFont;
        // Told once each of the conditions the player works around.
        std::function<void(const QString&)> notice;
    };

    // A sound decoded into the output's own format.
    class Sound;
    using SoundPtr = std::shared_ptr<const Sound>;
    class Music;
    using MusicPtr = std::shared_ptr<const Music>;

    static constexpr int kChannels = 12;

    explicit AudioDevice(Options options);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Opens the output if it is not open yet; false when there is none at all.
    bool open();
    // Sound reaches a speaker (not the silent output).
    bool audible();

    // Decodes a whole sound file; throws Failure when it cannot be decoded
    // or there is no output. Safe from any thread.
    SoundPtr decode(const QByteArray& bytes);
    static qint64 lengthMs(const SoundPtr& sound);
    // The length of a compressed piece (MP3) as the file itself tells it,
    // at its own sampling rate; throws Failure. Safe from any thread.
    qint64 pieceLengthMs(const QByteArray& bytes);

    // Plays a sound on a channel from its start, once or without end,
    // replacing what the channel played.
    void play(int channel, const SoundPtr& sound, bool loop);
    void halt(int channel);
    void pause(int channel);
    void resume(int channel);

    // MIDI: read (throws Failure for a file the synthesiser cannot take),
    // then played from its start; one piece sounds at a time.
    MusicPtr loadMusic(const QByteArray& bytes);
    void playMusic(const MusicPtr& music);
    void haltMusic();
    void pauseMusic();
    void resumeMusic();

private:
    void noticeOnce(const QString& text, bool& said);
    bool openWith(const char* driver);

    Options m_options;
    std::recursive_mutex m_mutex;
    bool m_tried = false;
    bool m_open = false;
    bool m_audible = false;
    bool m_hasSoundFont = false;
    bool m_saidSilent = false;
    bool m_saidNoSoundFont = false;
    // What each channel plays, kept alive while it sounds.
    std::array<SoundPtr, kChannels> m_playing;
    MusicPtr m_playingMusic;
};

} // namespace platform
