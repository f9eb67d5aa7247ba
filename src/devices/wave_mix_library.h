#pragma once

#include "devices/audio_device.h"
#include "platform/deadline.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace base {
class EventLog;
}
namespace platform {
class Clock;
class FileResolver;
}

namespace devices {

// The eight-channel wave mixer the games were made with, as a library of
// plain calls: a session (the mixer handle), waves loaded into it, channels
// 0 to 7 that play a wave once or without end, a flush that silences a
// channel, and the close of the session that silences them all. The
// configuration and play calls take the little-endian records the games
// build. Each channel's sound is a voice of the audio device of its own; a
// sound's end is a deadline on the player's clock.
class WaveMixLibrary {
public:
    static constexpr int kChannels = 8;
    // The loop count of a wave that plays without end.
    static constexpr std::uint16_t kEndless = 65535;

    WaveMixLibrary(platform::Clock& clock, AudioDevice& audio, const platform::FileResolver& files, base::EventLog& log);
    ~WaveMixLibrary();

    // A mixer handle, 0 when there is no sound output at all.
    std::int32_t ConfigureInit(const QByteArray& configuration);
    // 0 on success.
    int Activate(std::int32_t mixer, bool activate);
    // A wave handle, 0 when the file is missing or cannot be decoded.
    std::int32_t OpenWave(std::int32_t mixer, const QString& file, int, int);
    int OpenChannel(std::int32_t mixer, int channel, int flags);
    // The 24-byte play record: mixer, channel, wave, window, flags, loops.
    int Play(const QByteArray& record);
    // Told of each wave file that starts to play.
    std::function<void(const QString& file)> onPlay;
    // Told why a wave that is there cannot be played.
    std::function<void(const QString&)> onNotice;
    int FlushChannel(std::int32_t mixer, int channel, int flags);
    int FreeWave(std::int32_t mixer, std::int32_t wave);
    int CloseSession(std::int32_t mixer);

    // The player's pause: the channels' sounds hold where they are, and go
    // on from there when released (their ends follow the clock).
    void hold(bool held);

    struct ChannelState {
        QString file;
        bool loop = false;
        bool playing = false;
    };
    ChannelState channel(int c) const;

private:
    struct Wave {
        QString file;
        AudioDevice::SoundPtr sound;
    };
    struct Channel {
        explicit Channel(platform::Clock& clock);
        std::int32_t wave = 0;
        QString file;
        bool loop = false;
        bool playing = false;
        AudioDevice::Voice voice;
        platform::Deadline end;
    };
    void record(const QString& call);
    bool valid(std::int32_t mixer) const { return mixer != 0 && mixer == m_session; }
    void flush(int channel);

    platform::Clock& m_clock;
    AudioDevice& m_audio;
    const platform::FileResolver& m_files;
    base::EventLog& m_log;
    std::int32_t m_session = 0;
    std::int32_t m_nextHandle = 1;
    std::map<std::int32_t, Wave> m_waves;
    std::array<std::unique_ptr<Channel>, kChannels> m_channels;
};

} // namespace devices
