#include "media/wave_mix.h"

#include "base/byte_writer.h"
#include "base/failure.h"
#include "devices/wave_mix_library.h"
#include "run/context.h"

namespace media {

WaveMix::WaveMix(run::Context& rt, devices::WaveMixLibrary& library, bool& initFailed)
    : m_rt(rt), m_library(library), m_initFailed(initFailed)
{
    bool ok = OpenMixer();
    if (!ok && !m_initFailed) {
        // A busy device may come free: try again for up to four seconds,
        // sleeping between the attempts instead of spinning.
        const qint64 since = m_rt.clock().elapsedMs();
        while (!ok && !m_initFailed && m_rt.clock().elapsedMs() - since < 4000) {
            m_rt.clock().sleep(100);
            ok = OpenMixer();
        }
    }
    if (!ok && !m_initFailed)
        m_rt.ShowErrorReport(QStringLiteral(
            " Unable to Initialize WaveMix DLL. No audio hardware is available, the hardware is not responding, or another program is using hardware resources. Quit the program, close any open program and run the program again."));
}

WaveMix::~WaveMix()
{
    CloseMixer();
}

bool WaveMix::OpenMixer()
{
    m_initFailed = false;
    m_waves.assign(1, 0);
    // Size, then stereo, then the library's own sampling rate.
    m_mixer = m_library.ConfigureInit(base::ByteWriter().u16(10).u16(0).u16(1).u16(2).u16(0).bytes());
    if (m_library.Activate(m_mixer, true) != 0) {
        m_library.CloseSession(m_mixer);
        m_mixer = 0;
        return false;
    }
    return true;
}

void WaveMix::CloseMixer()
{
    if (m_mixer == 0)
        return;
    for (std::size_t i = 0; i < m_waves.size(); ++i) {
        if (m_waves[i] != 0) {
            FlushChannel(static_cast<std::int32_t>(i));
            m_library.FreeWave(m_mixer, m_waves[i]);
        }
    }
    m_library.CloseSession(m_mixer);
    m_mixer = 0;
}

WaveMix::ChannelRecord& WaveMix::current()
{
    if (CurrentChannel < 0 || CurrentChannel > 7)
        throw base::Failure("Subscript out of range");
    return m_channels[static_cast<std::size_t>(CurrentChannel)];
}

const WaveMix::ChannelRecord& WaveMix::current() const
{
    if (CurrentChannel < 0 || CurrentChannel > 7)
        throw base::Failure("Subscript out of range");
    return m_channels[static_cast<std::size_t>(CurrentChannel)];
}

void WaveMix::setFileName(const QString& file)
{
    current().file = file;
    LoadChannelWave(file, CurrentChannel);
}

QString WaveMix::FileName() const
{
    return current().file;
}

void WaveMix::setAutoLoop(std::int32_t loops)
{
    current().loops = loops;
}

std::int32_t WaveMix::AutoLoop() const
{
    return current().loops;
}

void WaveMix::Play()
{
    PlayChannel(CurrentChannel, current().loops);
}

void WaveMix::Quit()
{
    FlushChannel(CurrentChannel);
}

void WaveMix::LoadChannelWave(const QString& file, std::int32_t channel)
{
    if (static_cast<std::size_t>(channel) >= m_waves.size())
        m_waves.resize(static_cast<std::size_t>(channel) + 1, 0);
    std::int32_t& wave = m_waves[static_cast<std::size_t>(channel)];
    if (wave != 0) {
        FlushChannel(channel);
        m_library.FreeWave(m_mixer, wave);
    }
    wave = m_library.OpenWave(m_mixer, file, 0, 0);
    m_library.OpenChannel(m_mixer, channel, 0);
}

void WaveMix::PlayChannel(std::int32_t channel, std::int32_t loops)
{
    if (static_cast<std::size_t>(channel) >= m_waves.size() || m_mixer == 0)
        return;
    const std::int32_t wave = m_waves[static_cast<std::size_t>(channel)];
    // No notification window; the flags word in the library's order.
    base::ByteWriter play;
    play.u16(24).u32(m_mixer).u32(channel).u32(wave).u32(0).u16(0).u16(5).u16(static_cast<std::uint16_t>(loops & 0xFFFF));
    m_library.Play(play.bytes());
}

void WaveMix::FlushChannel(std::int32_t channel)
{
    if (m_mixer != 0)
        m_library.FlushChannel(m_mixer, channel, 0);
}

} // namespace media
