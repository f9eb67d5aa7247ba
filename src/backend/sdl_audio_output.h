#pragma once

#include "backend/stream_mixer.h"
#include "devices/audio_output.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace backend {

// The sound output over SDL2_mixer: short sounds decoded whole (WAV in PCM
// and the ADPCM kinds), long ones and compressed pieces (MP3, the sound
// tracks of videos) decoded as they play, each on a voice of its own, and one
// MIDI piece at a time synthesised by FluidSynth. It opens on first use.
// Without a sound card it opens a silent output, so sounds keep their
// lengths and states while nothing is heard, and says so once; only when
// even that fails does it stay closed.
class SdlAudioOutput : public devices::AudioOutput {
public:
    explicit SdlAudioOutput(Options options);
    ~SdlAudioOutput() override;
    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

    bool open() override;
    bool audible() override;
    bool hasSoundFont() override;
    SoundPtr decode(const QByteArray& bytes) override;
    SoundPtr stream(const devices::AudioSource& source) override;
    Voice play(const SoundPtr& sound, bool loop, int repeats, devices::Mix mix) override;
    void halt(const Voice& voice) override;
    void pause(const Voice& voice) override;
    void resume(const Voice& voice) override;
    bool sounding(const Voice& voice) override;
    MusicPtr loadMusic(const QByteArray& bytes) override;
    MusicVoice playMusic(const MusicPtr& music) override;
    void haltMusic(MusicVoice voice) override;
    void pauseMusic(MusicVoice voice) override;
    void resumeMusic(MusicVoice voice) override;
    bool musicSounding(MusicVoice voice) override;
    void setVolumes(const devices::Volumes& volumes) override;

private:
    class WaveSound;
    class Piece;
    void noticeOnce(const QString& text, bool& said);
    bool openWith(const char* driver);
    bool holds(const Voice& voice) const;
    int freeChannel();
    // Stops what a channel plays and forgets it.
    void release(std::size_t channel);
    // Sets a channel's loudness from the volume of what it plays.
    void applyVolume(std::size_t channel);

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
        std::shared_ptr<const WaveSound> sound;
        std::uint64_t serial = 0;
        std::shared_ptr<SoundStream> stream;
        devices::Mix mix = devices::Mix::Sounds;
    };
    std::vector<ChannelUse> m_channels;
    std::uint64_t m_lastSerial = 0;
    std::shared_ptr<const Piece> m_playingMusic;
    // Each piece loaded makes a synthesiser that reads the whole soundfont
    // again, and the synthesiser's libraries keep a little of each for good:
    // a frame opened again with its music reuses it instead.
    std::shared_ptr<const Piece> m_lastLoadedMusic;
    MusicVoice m_musicVoice = 0;
    StreamMixer m_mixer;
};

} // namespace backend
