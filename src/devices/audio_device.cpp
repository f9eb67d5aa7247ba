#include "devices/audio_device.h"

#include "base/failure.h"
#include "devices/media_backend.h"
#include "devices/media_module.h"
#include "devices/wave_header.h"

#include <algorithm>

namespace devices {

AudioDevice::AudioDevice(MediaModule& module, Options options) : m_module(module), m_options(std::move(options)) {}

AudioDevice::~AudioDevice() = default;

AudioOutput* AudioDevice::output()
{
    std::lock_guard lock(m_mutex);
    if (!m_tried) {
        m_tried = true;
        if (MediaBackend* backend = m_module.backend())
            m_output = backend->makeAudioOutput(m_options);
    }
    return m_output.get();
}

AudioOutput* AudioDevice::made()
{
    std::lock_guard lock(m_mutex);
    return m_output.get();
}

bool AudioDevice::open()
{
    AudioOutput* out = output();
    return out && out->open();
}

bool AudioDevice::audible()
{
    AudioOutput* out = output();
    return out && out->audible();
}

bool AudioDevice::hasSoundFont()
{
    AudioOutput* out = output();
    return out && out->hasSoundFont();
}

AudioDevice::SoundPtr AudioDevice::decode(const QByteArray& bytes)
{
    if (open())
        return m_output->decode(bytes);
    // Without an output a wave is timed by its header, so that what waits
    // for its end waits as long as it would have sounded.
    const std::optional<WaveHeader> wave = ReadWaveHeader(bytes);
    if (!wave)
        throw base::Failure("No audio output");
    if (!isPlayableRate(int(std::min<std::uint32_t>(wave->rate, 1 << 30))))
        throw base::Failure(QStringLiteral("Cannot decode the sound: a sampling rate of %1 Hz").arg(wave->rate));
    return std::make_shared<const Sound>(wave->lengthMs());
}

AudioDevice::SoundPtr AudioDevice::stream(const AudioSource& source)
{
    if (!open())
        throw base::Failure("No audio output");
    return m_output->stream(source);
}

AudioDevice::Voice AudioDevice::play(const SoundPtr& sound, bool loop, int repeats, Mix mix)
{
    AudioOutput* out = made();
    return out ? out->play(sound, loop, repeats, mix) : Voice{};
}

void AudioDevice::setVolumes(const Volumes& volumes)
{
    std::lock_guard lock(m_mutex);
    m_options.volumes = volumes;
    if (m_output)
        m_output->setVolumes(volumes);
}

Volumes AudioDevice::volumes()
{
    std::lock_guard lock(m_mutex);
    return m_options.volumes;
}

void AudioDevice::halt(const Voice& voice)
{
    if (AudioOutput* out = made())
        out->halt(voice);
}

void AudioDevice::pause(const Voice& voice)
{
    if (AudioOutput* out = made())
        out->pause(voice);
}

void AudioDevice::resume(const Voice& voice)
{
    if (AudioOutput* out = made())
        out->resume(voice);
}

bool AudioDevice::sounding(const Voice& voice)
{
    AudioOutput* out = made();
    return out && out->sounding(voice);
}

AudioDevice::MusicPtr AudioDevice::loadMusic(const QByteArray& bytes)
{
    if (!open())
        throw base::Failure("No audio output");
    return m_output->loadMusic(bytes);
}

AudioDevice::MusicVoice AudioDevice::playMusic(const MusicPtr& music)
{
    AudioOutput* out = made();
    return out ? out->playMusic(music) : 0;
}

void AudioDevice::haltMusic(MusicVoice voice)
{
    if (AudioOutput* out = made())
        out->haltMusic(voice);
}

void AudioDevice::pauseMusic(MusicVoice voice)
{
    if (AudioOutput* out = made())
        out->pauseMusic(voice);
}

void AudioDevice::resumeMusic(MusicVoice voice)
{
    if (AudioOutput* out = made())
        out->resumeMusic(voice);
}

bool AudioDevice::musicSounding(MusicVoice voice)
{
    AudioOutput* out = made();
    return out && out->musicSounding(voice);
}

} // namespace devices
