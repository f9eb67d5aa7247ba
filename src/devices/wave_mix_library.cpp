#include "devices/wave_mix_library.h"

#include "base/byte_reader.h"
#include "base/event_log.h"
#include "base/failure.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"

#include <QJsonObject>

#include <optional>

namespace devices {

WaveMixLibrary::Channel::Channel(platform::Clock& clock) : end(clock, [this] { playing = false; }) {}

WaveMixLibrary::WaveMixLibrary(platform::Clock& clock, AudioDevice& audio, const platform::FileResolver& files, base::EventLog& log)
    : m_clock(clock), m_audio(audio), m_files(files), m_log(log)
{
    for (auto& c : m_channels)
        c = std::make_unique<Channel>(clock);
}

WaveMixLibrary::~WaveMixLibrary() = default;

void WaveMixLibrary::record(const QString& call)
{
    m_log.write(QJsonObject{{QStringLiteral("type"), QStringLiteral("media")},
                            {QStringLiteral("layer"), QStringLiteral("wavemix")},
                            {QStringLiteral("call"), call}});
}

std::int32_t WaveMixLibrary::ConfigureInit(const QByteArray& configuration)
{
    record(QStringLiteral("WaveMixConfigureInit %1").arg(QString::fromLatin1(configuration.toHex(' '))));
    const base::ByteReader config(configuration);
    if (!config.has(0, 10) || config.u16(0) != 10 || !m_audio.open())
        return 0;
    m_session = m_nextHandle++;
    return m_session;
}

int WaveMixLibrary::Activate(std::int32_t mixer, bool activate)
{
    record(QStringLiteral("WaveMixActivate %1, %2").arg(mixer).arg(activate ? 1 : 0));
    return valid(mixer) ? 0 : 1;
}

std::int32_t WaveMixLibrary::OpenWave(std::int32_t mixer, const QString& file, int, int)
{
    record(QStringLiteral("WaveMixOpenWave %1, \"%2\", 0, 0").arg(mixer).arg(file));
    if (!valid(mixer))
        return 0;
    // A missing or undecodable wave: the channel simply stays silent.
    std::optional<QByteArray> bytes;
    try {
        bytes = m_files.tryReadAll(file);
        if (!bytes)
            return 0;
        Wave wave{file, m_audio.decode(*bytes)};
        const std::int32_t handle = m_nextHandle++;
        m_waves[handle] = std::move(wave);
        return handle;
    } catch (const base::Failure& failure) {
        if (onNotice)
            onNotice(QStringLiteral("The sound %1 is skipped: %2").arg(file, QString::fromUtf8(failure.what())));
        return 0;
    }
}

int WaveMixLibrary::OpenChannel(std::int32_t mixer, int channel, int flags)
{
    record(QStringLiteral("WaveMixOpenChannel %1, %2, %3").arg(mixer).arg(channel).arg(flags));
    return valid(mixer) && channel >= 0 && channel < kChannels ? 0 : 1;
}

int WaveMixLibrary::Play(const QByteArray& playRecord)
{
    record(QStringLiteral("WaveMixPlay %1").arg(QString::fromLatin1(playRecord.toHex(' '))));
    const base::ByteReader r(playRecord);
    if (!r.has(0, 24) || r.u16(0) != 24)
        return 1;
    const std::int32_t mixer = r.i32(2);
    const std::int32_t channel = r.i32(6);
    const std::int32_t waveHandle = r.i32(10);
    const std::uint16_t loops = r.u16(22);
    auto wave = m_waves.find(waveHandle);
    if (!valid(mixer) || channel < 0 || channel >= kChannels || wave == m_waves.end())
        return 1;
    Channel& c = *m_channels[channel];
    c.wave = waveHandle;
    c.file = wave->second.file;
    c.loop = loops == kEndless;
    c.playing = true;
    // Other counts play that many extra times; the games use once and endless.
    if (c.loop)
        c.end.cancel();
    else
        c.end.armIn(AudioDevice::lengthMs(wave->second.sound) * (1 + loops));
    m_audio.halt(c.voice);
    c.voice = m_audio.play(wave->second.sound, c.loop, c.loop ? 0 : loops);
    if (onPlay)
        onPlay(c.file);
    return 0;
}

void WaveMixLibrary::hold(bool held)
{
    for (const auto& c : m_channels) {
        if (c->playing)
            held ? m_audio.pause(c->voice) : m_audio.resume(c->voice);
    }
}

void WaveMixLibrary::flush(int channel)
{
    Channel& c = *m_channels[channel];
    c.end.cancel();
    c.playing = false;
    m_audio.halt(c.voice);
}

int WaveMixLibrary::FlushChannel(std::int32_t mixer, int channel, int flags)
{
    record(QStringLiteral("WaveMixFlushChannel %1, %2, %3").arg(mixer).arg(channel).arg(flags));
    if (!valid(mixer) || channel < 0 || channel >= kChannels)
        return 1;
    flush(channel);
    return 0;
}

int WaveMixLibrary::FreeWave(std::int32_t mixer, std::int32_t wave)
{
    record(QStringLiteral("WaveMixFreeWave %1, %2").arg(mixer).arg(wave));
    if (!valid(mixer) || !m_waves.count(wave))
        return 1;
    for (int c = 0; c < kChannels; ++c) {
        if (m_channels[c]->wave == wave) {
            flush(c);
            m_channels[c]->wave = 0;
        }
    }
    m_waves.erase(wave);
    return 0;
}

int WaveMixLibrary::CloseSession(std::int32_t mixer)
{
    record(QStringLiteral("WaveMixCloseSession %1").arg(mixer));
    if (!valid(mixer))
        return 1;
    for (int c = 0; c < kChannels; ++c) {
        flush(c);
        m_channels[c]->wave = 0;
        m_channels[c]->file.clear();
        m_channels[c]->loop = false;
    }
    m_waves.clear();
    m_session = 0;
    return 0;
}

WaveMixLibrary::ChannelState WaveMixLibrary::channel(int c) const
{
    if (c < 0 || c >= kChannels)
        return {};
    const Channel& ch = *m_channels[c];
    return {ch.file, ch.loop, ch.playing};
}

} // namespace devices
