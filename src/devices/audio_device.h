#pragma once

#include "devices/audio_decoder.h"
#include "devices/stream_mixer.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace devices {

// The sound output of the player, over SDL2_mixer: short sounds decoded
// whole (WAV in PCM and the ADPCM kinds), long ones and compressed pieces
// (MP3, the sound tracks of videos) decoded as they play, each on a voice of
// its own, and one MIDI piece at a time synthesised by FluidSynth. It opens
// on first use.
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

    // One sound playing on a channel of its own. A voice whose sound has
    // been halted or replaced names nothing any more, so a stale voice can
    // never stop a newer sound that took over its channel.
    struct Voice {
        int channel = -1;
        std::uint64_t serial = 0;
    };
    // The same for the one MIDI piece the synthesiser plays at a time.
    using MusicVoice = std::uint64_t;

    explicit AudioDevice(Options options);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Opens the output if it is not open yet; false when there is none at all.
    bool open();
    // Sound reaches a speaker (not the silent output).
    bool audible();
    // MIDI can be synthesised: the output is open with a soundfont.
    bool hasSoundFont();

    // A wave file, decoded whole when it is short, else as it plays; throws
    // Failure when it cannot be decoded or there is no output. Safe from any
    // thread.
    SoundPtr decode(const QByteArray& bytes);
    // A sound of any kind FFmpeg decodes, decoded as it plays, its length as
    // its container tells it; throws Failure when it has no sound to decode
    // or there is no output. Safe from any thread.
    SoundPtr stream(const AudioSource& source);
    static qint64 lengthMs(const SoundPtr& sound);
    // Sampling rates of sounds worth decoding: 4 kHz to 192 kHz.
    static bool isPlayableRate(int hertz) { return hertz >= 4000 && hertz <= 192000; }

    // Plays a sound from its start, 1 + repeats times or without end, on a
    // channel no other voice holds. A sound of no length plays nothing:
    // looped, it would never let the mixer finish a buffer.
    Voice play(const SoundPtr& sound, bool loop, int repeats = 0);
    void halt(const Voice& voice);
    void pause(const Voice& voice);
    void resume(const Voice& voice);
    // The voice's sound is still heard or held paused.
    bool sounding(const Voice& voice);

    // MIDI: read (throws Failure for a file the synthesiser cannot take),
    // then played from its start; one piece sounds at a time. The piece
    // loaded last is kept: loading the same bytes again gives it back.
    MusicPtr loadMusic(const QByteArray& bytes);
    MusicVoice playMusic(const MusicPtr& music);
    void haltMusic(MusicVoice voice);
    void pauseMusic(MusicVoice voice);
    void resumeMusic(MusicVoice voice);
    bool musicSounding(MusicVoice voice);

private:
    void noticeOnce(const QString& text, bool& said);
    bool openWith(const char* driver);
    bool holds(const Voice& voice) const;
    int freeChannel();
    // Stops what a channel plays and forgets it.
    void release(std::size_t channel);

    Options m_options;
    std::recursive_mutex m_mutex;
    bool m_tried = false;
    bool m_open = false;
    bool m_audible = false;
    bool m_hasSoundFont = false;
    bool m_saidSilent = false;
    bool m_saidNoSoundFont = false;
    // What each channel plays, kept alive while it sounds, and the voice
    // that holds it. A streamed sound plays through the stream mixer, and
    // its channel stands idle in the library's mixer meanwhile.
    struct ChannelUse {
        SoundPtr sound;
        std::uint64_t serial = 0;
        std::shared_ptr<SoundStream> stream;
    };
    std::vector<ChannelUse> m_channels;
    std::uint64_t m_lastSerial = 0;
    MusicPtr m_playingMusic;
    // Each piece loaded makes a synthesiser that reads the whole soundfont
    // again, and the synthesiser's libraries keep a little of each for good:
    // a frame opened again with its music reuses it instead.
    MusicPtr m_lastLoadedMusic;
    MusicVoice m_musicVoice = 0;
    StreamMixer m_mixer;
};

} // namespace devices
