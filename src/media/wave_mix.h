#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace run {
class Context;
}
namespace devices {
class WaveMixLibrary;
}

namespace media {

// The mixer object of the sound channels: creating it opens a mixer session
// (retrying a busy device for up to four seconds), destroying it closes the
// session and silences every channel. Its members act on CurrentChannel.
class WaveMix {
public:
    // initFailed: the shared flag of a failed attempt to open the library.
    WaveMix(run::Context& rt, devices::WaveMixLibrary& library, bool& initFailed);
    ~WaveMix();
    WaveMix(const WaveMix&) = delete;
    WaveMix& operator=(const WaveMix&) = delete;

    std::int32_t CurrentChannel = 0;
    // Loads the wave into the current channel. These three throw Failure
    // when CurrentChannel is outside 0 to 7.
    void setFileName(const QString& file);
    QString FileName() const;
    // The loop count: a Boolean true becomes -1 (endless).
    void setAutoLoop(std::int32_t loops);
    std::int32_t AutoLoop() const;
    void Play();
    void Quit();


private:
    struct ChannelRecord {
        std::int32_t loops = 0;
        QString file;
    };
    ChannelRecord& current();
    const ChannelRecord& current() const;
    bool OpenMixer();
    void CloseMixer();
    void LoadChannelWave(const QString& file, std::int32_t channel);
    void PlayChannel(std::int32_t channel, std::int32_t loops);
    void FlushChannel(std::int32_t channel);

    run::Context& m_rt;
    devices::WaveMixLibrary& m_library;
    bool& m_initFailed;
    std::int32_t m_mixer = 0;
    std::vector<std::int32_t> m_waves;
    std::array<ChannelRecord, 8> m_channels;
};

} // namespace media
