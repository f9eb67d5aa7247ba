#include "devices/audio_device.h"

#include "base/byte_reader.h"
#include "base/failure.h"
#include "devices/sound_stream.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>
#include <fluidsynth.h>

namespace devices {

namespace {

// Debian's General MIDI soundfont (package timgm6mb-soundfont).
const char* const kDefaultSoundFonts[] = {"/usr/share/sounds/sf3/default-GM.sf3", "/usr/share/sounds/sf2/default-GM.sf2",
                                          "/usr/share/sounds/sf2/TimGM6mb.sf2"};

// The sound system and the synthesiser write their own complaints (no sound
// card, a note without an instrument) straight to the terminal, some of them
// for every note; the player tells what matters once, in its own words.
void quietAlsa(const char*, int, const char*, int, const char*, ...) {}
void quietSynthesiser(int, const char*, void*) {}

void keepLibrariesQuiet()
{
    // The player ends on SIGINT and SIGTERM itself; SDL would turn them into
    // quit events that nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    snd_lib_error_set_handler(&quietAlsa);
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, &quietSynthesiser, nullptr);
}

constexpr int kChannelStep = 8;

// A wave decoded whole may take this much once converted for the output:
// a minute and a half. Longer ones are decoded as they play.
constexpr double WholeSoundBytes = 16 << 20;

// What a wave file's chunks tell of its sound.
struct WaveHeader {
    std::uint32_t rate = 0;
    std::uint16_t channels = 0;
    std::uint16_t bits = 0;
    qsizetype dataBytes = 0;
};

// The header of a wave file; none when the bytes are no wave file or name
// no format.
std::optional<WaveHeader> readWaveHeader(const QByteArray& bytes)
{
    const base::ByteReader file(bytes);
    if (!bytes.startsWith("RIFF") || !file.has(8, 4) || file.bytes(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<WaveHeader> header;
    qsizetype dataBytes = 0;
    try {
        for (qsizetype at = 12; file.has(at, 8);) {
            const std::uint32_t size = file.u32(at + 4);
            const QByteArray id = file.bytes(at, 4);
            if (id == "fmt ") {
                header = WaveHeader{file.u32(at + 12), file.u16(at + 10), file.u16(at + 22), 0};
            } else if (id == "data") {
                // A size past the end of the file claims what is not there.
                dataBytes = std::min<qsizetype>(size, bytes.size() - at - 8);
            }
            at += 8 + qsizetype(size) + (size & 1);
        }
    } catch (const base::Failure&) {
    }
    if (header)
        header->dataBytes = dataBytes;
    return header;
}

// The bytes a wave takes converted to the output's format: its frames,
// counted by its bits a sample (4 for the ADPCM kinds), at the output's rate.
double convertedBytes(const WaveHeader& wave)
{
    const double frames = double(wave.dataBytes) * 8 / std::max<int>(1, wave.bits) / std::max<int>(1, wave.channels);
    return frames * AudioDecoder::BytesPerFrame * AudioDecoder::OutputRate / std::max<std::uint32_t>(1, wave.rate);
}

void mixStreams(void* mixer, Uint8* buffer, int size)
{
    static_cast<StreamMixer*>(mixer)->mix(buffer, size);
}

} // namespace

class AudioDevice::Sound {
public:
    explicit Sound(Mix_Chunk* chunk) : chunk(chunk) {}
    Sound(AudioSource source, qint64 lengthMs) : source(std::move(source)), streamedLengthMs(lengthMs) {}
    ~Sound()
    {
        if (chunk)
            Mix_FreeChunk(chunk);
    }
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;
    // Decoded whole; else decoded from the source each time it plays.
    Mix_Chunk* chunk = nullptr;
    AudioSource source;
    qint64 streamedLengthMs = 0;
};

class AudioDevice::Music {
public:
    Music(QByteArray bytes, Mix_Music* music) : bytes(std::move(bytes)), music(music) {}
    ~Music() { Mix_FreeMusic(music); }
    // SDL reads the piece from these bytes while it plays.
    QByteArray bytes;
    Mix_Music* music;
};

AudioDevice::AudioDevice(Options options) : m_options(std::move(options)) {}

AudioDevice::~AudioDevice()
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return;
    Mix_SetPostMix(nullptr, nullptr);
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    m_channels.clear();
    m_playingMusic.reset();
    m_lastLoadedMusic.reset();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioDevice::noticeOnce(const QString& text, bool& said)
{
    if (said)
        return;
    said = true;
    if (m_options.notice)
        m_options.notice(text);
}

bool AudioDevice::openWith(const char* driver)
{
    // The driver is chosen by name when the audio subsystem starts; the
    // choice is not left behind for later starts.
    const bool wasSet = qEnvironmentVariableIsSet("SDL_AUDIODRIVER");
    const QByteArray previous = qgetenv("SDL_AUDIODRIVER");
    if (driver)
        qputenv("SDL_AUDIODRIVER", driver);
    const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (driver) {
        if (wasSet)
            qputenv("SDL_AUDIODRIVER", previous);
        else
            qunsetenv("SDL_AUDIODRIVER");
    }
    if (started && Mix_OpenAudioDevice(44100, AUDIO_S16SYS, 2, 1024, nullptr, 0) == 0)
        return true;
    if (started)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

bool AudioDevice::open()
{
    std::lock_guard lock(m_mutex);
    if (m_tried)
        return m_open;
    m_tried = true;
    keepLibrariesQuiet();
    Mix_Init(MIX_INIT_MID | MIX_INIT_MP3);
    if (!m_options.silent && !m_options.muted && openWith(nullptr)) {
        m_audible = true;
    } else if (openWith("dummy")) {
        if (!m_options.muted)
            noticeOnce(m_options.silent ? QStringLiteral("Sound plays on a silent output.")
                                        : QStringLiteral("No audio device: the game plays silently."),
                       m_saidSilent);
    } else {
        noticeOnce(QStringLiteral("No audio output at all: %1").arg(QString::fromUtf8(SDL_GetError())), m_saidSilent);
        return false;
    }
    m_open = true;
    Mix_SetPostMix(&mixStreams, &m_mixer);
    m_channels.resize(static_cast<std::size_t>(Mix_AllocateChannels(kChannelStep)));
    QString font = m_options.soundFont;
    if (font.isEmpty()) {
        for (const char* candidate : kDefaultSoundFonts) {
            if (QFileInfo::exists(QString::fromLatin1(candidate))) {
                font = QString::fromLatin1(candidate);
                break;
            }
        }
    }
    m_hasSoundFont = !font.isEmpty() && QFileInfo::exists(font) && Mix_SetSoundFonts(font.toLocal8Bit().constData()) != 0;
    return true;
}

bool AudioDevice::audible()
{
    return open() && m_audible;
}

bool AudioDevice::hasSoundFont()
{
    return open() && m_hasSoundFont;
}

AudioDevice::SoundPtr AudioDevice::decode(const QByteArray& bytes)
{
    if (!open())
        throw base::Failure("No audio output");
    if (const std::optional<WaveHeader> wave = readWaveHeader(bytes)) {
        // Resampled for the output, a rate far outside what sound cards play
        // would cost memory out of all proportion to the file.
        if (!isPlayableRate(int(std::min<std::uint32_t>(wave->rate, 1 << 30))))
            throw base::Failure(QStringLiteral("Cannot decode the sound: a sampling rate of %1 Hz").arg(wave->rate));
        if (convertedBytes(*wave) > WholeSoundBytes)
            return stream(AudioSource{{}, bytes});
    }
    SDL_RWops* source = SDL_RWFromConstMem(bytes.constData(), static_cast<int>(bytes.size()));
    Mix_Chunk* chunk = source ? Mix_LoadWAV_RW(source, 1) : nullptr;
    if (!chunk)
        throw base::Failure(QStringLiteral("Cannot decode the sound: %1").arg(QString::fromUtf8(Mix_GetError())));
    return std::make_shared<const Sound>(chunk);
}

AudioDevice::SoundPtr AudioDevice::stream(const AudioSource& source)
{
    if (!open())
        throw base::Failure("No audio output");
    AudioDecoder decoder(source);
    return std::make_shared<const Sound>(source, decoder.lengthMs());
}

qint64 AudioDevice::lengthMs(const SoundPtr& sound)
{
    if (sound && !sound->chunk)
        return sound->streamedLengthMs;
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (!sound || !Mix_QuerySpec(&frequency, &format, &channels) || frequency <= 0 || channels <= 0)
        return 0;
    const qint64 bytesPerFrame = qint64(SDL_AUDIO_BITSIZE(format) / 8) * channels;
    return bytesPerFrame > 0 ? qint64(sound->chunk->alen) * 1000 / (bytesPerFrame * frequency) : 0;
}

bool AudioDevice::holds(const Voice& voice) const
{
    return m_open && voice.serial != 0 && voice.channel >= 0 && std::size_t(voice.channel) < m_channels.size()
           && m_channels[std::size_t(voice.channel)].serial == voice.serial;
}

int AudioDevice::freeChannel()
{
    for (std::size_t c = 0; c < m_channels.size(); ++c) {
        // A paused channel counts as playing: its voice may resume it.
        const ChannelUse& use = m_channels[c];
        if (use.serial == 0 || (use.stream ? use.stream->ended() : !Mix_Playing(int(c)))) {
            release(c);
            return int(c);
        }
    }
    const int first = int(m_channels.size());
    m_channels.resize(static_cast<std::size_t>(Mix_AllocateChannels(first + kChannelStep)));
    return first < int(m_channels.size()) ? first : -1;
}

void AudioDevice::release(std::size_t channel)
{
    ChannelUse& use = m_channels[channel];
    if (use.stream)
        m_mixer.remove(use.stream);
    else if (use.serial != 0)
        Mix_HaltChannel(int(channel));
    use = {};
}

AudioDevice::Voice AudioDevice::play(const SoundPtr& sound, bool loop, int repeats)
{
    std::lock_guard lock(m_mutex);
    if (!m_open || !sound || (sound->chunk ? sound->chunk->alen == 0 : sound->streamedLengthMs <= 0))
        return {};
    const int channel = freeChannel();
    if (channel < 0)
        return {};
    std::shared_ptr<SoundStream> stream;
    if (sound->chunk) {
        if (Mix_PlayChannel(channel, sound->chunk, loop ? -1 : repeats) != channel)
            return {};
    } else {
        stream = std::make_shared<SoundStream>(sound->source, loop ? -1 : repeats);
        m_mixer.add(stream);
    }
    m_channels[std::size_t(channel)] = {sound, ++m_lastSerial, std::move(stream)};
    return {channel, m_lastSerial};
}

void AudioDevice::halt(const Voice& voice)
{
    std::lock_guard lock(m_mutex);
    if (holds(voice))
        release(std::size_t(voice.channel));
}

void AudioDevice::pause(const Voice& voice)
{
    std::lock_guard lock(m_mutex);
    if (!holds(voice))
        return;
    if (const auto& stream = m_channels[std::size_t(voice.channel)].stream)
        stream->setPaused(true);
    else
        Mix_Pause(voice.channel);
}

void AudioDevice::resume(const Voice& voice)
{
    std::lock_guard lock(m_mutex);
    if (!holds(voice))
        return;
    if (const auto& stream = m_channels[std::size_t(voice.channel)].stream)
        stream->setPaused(false);
    else
        Mix_Resume(voice.channel);
}

bool AudioDevice::sounding(const Voice& voice)
{
    std::lock_guard lock(m_mutex);
    if (!holds(voice))
        return false;
    const auto& stream = m_channels[std::size_t(voice.channel)].stream;
    return stream ? !stream->ended() : Mix_Playing(voice.channel) != 0;
}

AudioDevice::MusicPtr AudioDevice::loadMusic(const QByteArray& bytes)
{
    if (!open())
        throw base::Failure("No audio output");
    if (!m_hasSoundFont)
        noticeOnce(QStringLiteral("No General MIDI soundfont: MIDI music is silent (install the package timgm6mb-soundfont or "
                                  "give one with --soundfont FILE)."),
                   m_saidNoSoundFont);
    {
        std::lock_guard lock(m_mutex);
        if (m_lastLoadedMusic && m_lastLoadedMusic->bytes == bytes)
            return m_lastLoadedMusic;
    }
    // Loaded outside the lock: the synthesiser's libraries take locks of
    // their own, which playing the piece later takes in the other order.
    auto holder = std::make_shared<QByteArray>(bytes);
    SDL_RWops* source = SDL_RWFromConstMem(holder->constData(), static_cast<int>(holder->size()));
    Mix_Music* music = source ? Mix_LoadMUSType_RW(source, MUS_MID, 1) : nullptr;
    if (!music)
        throw base::Failure(QStringLiteral("Cannot read the music: %1").arg(QString::fromUtf8(Mix_GetError())));
    auto loaded = std::make_shared<const Music>(std::move(*holder), music);
    std::lock_guard lock(m_mutex);
    m_lastLoadedMusic = loaded;
    return loaded;
}

AudioDevice::MusicVoice AudioDevice::playMusic(const MusicPtr& music)
{
    std::lock_guard lock(m_mutex);
    if (!m_open || !music)
        return 0;
    if (Mix_PlayMusic(music->music, 0) != 0)
        return 0;
    // Starting a piece replaces the one before: its voice goes stale.
    m_playingMusic = music;
    m_musicVoice = ++m_lastSerial;
    return m_musicVoice;
}

void AudioDevice::haltMusic(MusicVoice voice)
{
    std::lock_guard lock(m_mutex);
    if (!m_open || voice == 0 || voice != m_musicVoice)
        return;
    Mix_HaltMusic();
    m_playingMusic.reset();
    m_musicVoice = 0;
}

void AudioDevice::pauseMusic(MusicVoice voice)
{
    std::lock_guard lock(m_mutex);
    if (m_open && voice != 0 && voice == m_musicVoice)
        Mix_PauseMusic();
}

void AudioDevice::resumeMusic(MusicVoice voice)
{
    std::lock_guard lock(m_mutex);
    if (m_open && voice != 0 && voice == m_musicVoice)
        Mix_ResumeMusic();
}

bool AudioDevice::musicSounding(MusicVoice voice)
{
    std::lock_guard lock(m_mutex);
    return m_open && voice != 0 && voice == m_musicVoice && Mix_PlayingMusic();
}

} // namespace devices
