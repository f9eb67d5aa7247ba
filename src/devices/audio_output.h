#pragma once

#include "devices/audio_source.h"
#include "devices/volumes.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace devices {

// The sound output as the media module gives it: short sounds decoded whole,
// long ones and compressed pieces decoded as they play, each on a voice of
// its own, and one MIDI piece at a time. `AudioDevice` is what the player
// holds; this is what it reaches through the module.
class AudioOutput {
public:
    struct Options {
        // A silent output from the start (headless runs).
        bool silent = false;
        // A silent output because the player asked for no sound: nothing to tell.
        bool muted = false;
        // The General MIDI soundfont; empty: the one Debian installs.
        QString soundFont;
        // The player's volumes the output starts with.
        Volumes volumes;
        // Told once each of the conditions the player works around.
        std::function<void(const QString&)> notice;
    };

    // A decoded sound, with the length it plays for, known when it is made.
    class Sound {
    public:
        explicit Sound(qint64 lengthMs) : m_lengthMs(lengthMs) {}
        virtual ~Sound() = default;
        Sound(const Sound&) = delete;
        Sound& operator=(const Sound&) = delete;
        qint64 lengthMs() const { return m_lengthMs; }

    private:
        qint64 m_lengthMs;
    };
    using SoundPtr = std::shared_ptr<const Sound>;
    // A MIDI piece read by the synthesiser.
    class Music {
    public:
        Music() = default;
        virtual ~Music() = default;
        Music(const Music&) = delete;
        Music& operator=(const Music&) = delete;
    };
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

    // Sampling rates of sounds worth decoding: 4 kHz to 192 kHz.
    static bool isPlayableRate(int hertz) { return hertz >= 4000 && hertz <= 192000; }

    virtual ~AudioOutput() = default;

    // Opens the output if it is not open yet; false when there is none at all.
    virtual bool open() = 0;
    // Sound reaches a speaker (not the silent output).
    virtual bool audible() = 0;
    // MIDI can be synthesised: the output is open with a soundfont.
    virtual bool hasSoundFont() = 0;

    // A wave file, decoded whole when it is short, else as it plays; throws
    // Failure when it cannot be decoded or there is no output. Safe from any
    // thread.
    virtual SoundPtr decode(const QByteArray& bytes) = 0;
    // A sound of any kind the module decodes, decoded as it plays, its
    // length as its container tells it; throws Failure when it has no sound
    // to decode or there is no output. Safe from any thread.
    virtual SoundPtr stream(const AudioSource& source) = 0;

    // Plays a sound from its start, 1 + repeats times or without end, on a
    // channel no other voice holds, at the volume of its kind. A sound of no
    // length plays nothing: looped, it would never let the mixer finish a
    // buffer.
    virtual Voice play(const SoundPtr& sound, bool loop, int repeats, Mix mix) = 0;
    virtual void halt(const Voice& voice) = 0;
    virtual void pause(const Voice& voice) = 0;
    virtual void resume(const Voice& voice) = 0;
    // The voice's sound is still heard or held paused.
    virtual bool sounding(const Voice& voice) = 0;

    // MIDI: read (throws Failure for a file the synthesiser cannot take),
    // then played from its start; one piece sounds at a time. The piece
    // loaded last is kept: loading the same bytes again gives it back.
    virtual MusicPtr loadMusic(const QByteArray& bytes) = 0;
    virtual MusicVoice playMusic(const MusicPtr& music) = 0;
    virtual void haltMusic(MusicVoice voice) = 0;
    virtual void pauseMusic(MusicVoice voice) = 0;
    virtual void resumeMusic(MusicVoice voice) = 0;
    virtual bool musicSounding(MusicVoice voice) = 0;

    // The player's volumes, at once for what plays and for what comes next.
    virtual void setVolumes(const Volumes& volumes) = 0;
};

} // namespace devices
