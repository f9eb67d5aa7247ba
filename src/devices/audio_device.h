#pragma once

#include "devices/audio_output.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>

namespace devices {

class MediaModule;

// The sound output of the player: short sounds decoded whole (WAV in PCM and
// the ADPCM kinds), long ones and compressed pieces (MP3, the sound tracks
// of videos) decoded as they play, each on a voice of its own, and one MIDI
// piece at a time. The output itself is the media module's, made on first
// use, so that the media libraries load with the first sound and not at
// start-up.
// Without a sound card the output is a silent one, so sounds keep their
// lengths and states while nothing is heard, and says so once. Without the
// module (or any output at all) waves still keep the lengths their headers
// give and play nothing; other sounds cannot be decoded. Nothing here knows
// the game's clock: the layers above time every end themselves.
class AudioDevice {
public:
    using Options = AudioOutput::Options;
    using Sound = AudioOutput::Sound;
    using SoundPtr = AudioOutput::SoundPtr;
    using Music = AudioOutput::Music;
    using MusicPtr = AudioOutput::MusicPtr;
    using Voice = AudioOutput::Voice;
    using MusicVoice = AudioOutput::MusicVoice;

    AudioDevice(MediaModule& module, Options options);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // The module this output comes from, which the videos use too.
    MediaModule& module() const { return m_module; }

    // Opens the output if it is not open yet; false when there is none at all.
    bool open();
    // Sound reaches a speaker (not the silent output).
    bool audible();
    // MIDI can be synthesised: the output is open with a soundfont.
    bool hasSoundFont();

    // A wave file, decoded whole when it is short, else as it plays; throws
    // Failure when it cannot be decoded. Without an output, a silent sound
    // as long as its header says. Safe from any thread.
    SoundPtr decode(const QByteArray& bytes);
    // A sound of any kind the module decodes, decoded as it plays, its length
    // as its container tells it; throws Failure when it has no sound to
    // decode or there is no output. Safe from any thread.
    SoundPtr stream(const AudioSource& source);
    // The length a sound was given when it was made; 0 for none.
    static qint64 lengthMs(const SoundPtr& sound) { return sound ? sound->lengthMs() : 0; }
    static bool isPlayableRate(int hertz) { return AudioOutput::isPlayableRate(hertz); }

    // Plays a sound from its start, 1 + repeats times or without end, on a
    // channel no other voice holds, at the volume of its kind; a voice of
    // nothing without an output.
    Voice play(const SoundPtr& sound, bool loop, int repeats = 0, Mix mix = Mix::Sounds);
    void halt(const Voice& voice);
    void pause(const Voice& voice);
    void resume(const Voice& voice);
    // The voice's sound is still heard or held paused.
    bool sounding(const Voice& voice);

    // MIDI: read (throws Failure for a file the synthesiser cannot take, or
    // without an output), then played from its start; one piece sounds at a
    // time. The piece loaded last is kept: loading the same bytes again
    // gives it back.
    MusicPtr loadMusic(const QByteArray& bytes);
    MusicVoice playMusic(const MusicPtr& music);
    void haltMusic(MusicVoice voice);
    void pauseMusic(MusicVoice voice);
    void resumeMusic(MusicVoice voice);
    bool musicSounding(MusicVoice voice);

    // The player's volumes: kept for an output made later, and given at
    // once to the one that plays.
    void setVolumes(const Volumes& volumes);
    Volumes volumes();

private:
    // The module's output, made on the first call that needs sound; null
    // when the module cannot be loaded.
    AudioOutput* output();
    // The output once it exists, without loading anything: what stops or
    // asks after a voice has nothing to do before a sound was made.
    AudioOutput* made();

    MediaModule& m_module;
    Options m_options;
    std::mutex m_mutex;
    bool m_tried = false;
    std::unique_ptr<AudioOutput> m_output;
};

} // namespace devices
