#include "backend/sdl_audio_output.h"

#include "backend/audio_decoder.h"
#include "backend/sound_stream.h"
#include "base/failure.h"
#include "devices/wave_header.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <optional>

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>
#include <fluidsynth.h>

namespace backend {

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

// The bytes a wave takes converted to the output's format: its frames at
// the output's rate.
double convertedBytes(const devices::WaveHeader& wave)
{
    return wave.frames() * AudioDecoder::BytesPerFrame * AudioDecoder::OutputRate / std::max<std::uint32_t>(1, wave.rate);
}

void mixStreams(void* mixer, Uint8* buffer, int size)
{
    static_cast<StreamMixer*>(mixer)->mix(buffer, size);
}

} // namespace

class SdlAudioOutput::WaveSound : public Sound {
public:
    WaveSound(Mix_Chunk* chunk, qint64 lengthMs) : Sound(lengthMs), chunk(chunk) {}
    WaveSound(devices::AudioSource source, qint64 lengthMs) : Sound(lengthMs), source(std::move(source)) {}
    ~WaveSound() override
    {
        if (chunk)
            Mix_FreeChunk(chunk);
    }
    // Decoded whole; else decoded from the source each time it plays.
    Mix_Chunk* chunk = nullptr;
    devices::AudioSource source;
};

class SdlAudioOutput::Piece : public Music {
public:
    Piece(QByteArray bytes, Mix_Music* music) : bytes(std::move(bytes)), music(music) {}
    ~Piece() override { Mix_FreeMusic(music); }
    // SDL reads the piece from these bytes while it plays.
    QByteArray bytes;
    Mix_Music* music;
};

SdlAudioOutput::SdlAudioOutput(Options options) : m_options(std::move(options)) {}

SdlAudioOutput::~SdlAudioOutput()
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

void SdlAudioOutput::noticeOnce(const QString& text, bool& said)
{
    if (said)
        return;
    said = true;
    if (m_options.notice)
        m_options.notice(text);
}

bool SdlAudioOutput::openWith(const char* driver)
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

bool SdlAudioOutput::open()
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
    Mix_VolumeMusic(m_options.volumes.level(devices::Mix::Music, MIX_MAX_VOLUME));
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

bool SdlAudioOutput::audible()
{
    return open() && m_audible;
}

bool SdlAudioOutput::hasSoundFont()
{
    return open() && m_hasSoundFont;
}

SdlAudioOutput::SoundPtr SdlAudioOutput::decode(const QByteArray& bytes)
{
    if (!open())
        throw base::Failure("No audio output");
    if (const std::optional<devices::WaveHeader> wave = devices::ReadWaveHeader(bytes)) {
        // Resampled for the output, a rate far outside what sound cards play
        // would cost memory out of all proportion to the file.
        if (!isPlayableRate(int(std::min<std::uint32_t>(wave->rate, 1 << 30))))
            throw base::Failure(QStringLiteral("Cannot decode the sound: a sampling rate of %1 Hz").arg(wave->rate));
        // What the mixer cannot read is decoded by FFmpeg as it plays, as
        // is a sound too long to keep whole.
        if (!wave->mixerReads() || convertedBytes(*wave) > WholeSoundBytes)
            return stream(devices::AudioSource{{}, bytes});
    }
    SDL_RWops* source = SDL_RWFromConstMem(bytes.constData(), static_cast<int>(bytes.size()));
    Mix_Chunk* chunk = source ? Mix_LoadWAV_RW(source, 1) : nullptr;
    if (!chunk)
        throw base::Failure(QStringLiteral("Cannot decode the sound: %1").arg(QString::fromUtf8(Mix_GetError())));
    // Decoded into the output's own format: its length follows from that.
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    qint64 lengthMs = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) && frequency > 0 && channels > 0) {
        const qint64 bytesPerFrame = qint64(SDL_AUDIO_BITSIZE(format) / 8) * channels;
        lengthMs = bytesPerFrame > 0 ? qint64(chunk->alen) * 1000 / (bytesPerFrame * frequency) : 0;
    }
    return std::make_shared<const WaveSound>(chunk, lengthMs);
}

SdlAudioOutput::SoundPtr SdlAudioOutput::stream(const devices::AudioSource& source)
{
    if (!open())
        throw base::Failure("No audio output");
    AudioDecoder decoder(source);
    return std::make_shared<const WaveSound>(source, decoder.lengthMs());
}

bool SdlAudioOutput::holds(const Voice& voice) const
{
    return m_open && voice.serial != 0 && voice.channel >= 0 && std::size_t(voice.channel) < m_channels.size()
           && m_channels[std::size_t(voice.channel)].serial == voice.serial;
}

int SdlAudioOutput::freeChannel()
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

void SdlAudioOutput::release(std::size_t channel)
{
    ChannelUse& use = m_channels[channel];
    if (use.stream)
        m_mixer.remove(use.stream);
    else if (use.serial != 0)
        Mix_HaltChannel(int(channel));
    use = {};
}

void SdlAudioOutput::applyVolume(std::size_t channel)
{
    const ChannelUse& use = m_channels[channel];
    const int level = m_options.volumes.level(use.mix, MIX_MAX_VOLUME);
    if (use.stream)
        use.stream->setVolume(level);
    else
        Mix_Volume(int(channel), level);
}

void SdlAudioOutput::setVolumes(const devices::Volumes& volumes)
{
    std::lock_guard lock(m_mutex);
    m_options.volumes = volumes;
    if (!m_open)
        return;
    for (std::size_t c = 0; c < m_channels.size(); ++c)
        applyVolume(c);
    Mix_VolumeMusic(volumes.level(devices::Mix::Music, MIX_MAX_VOLUME));
}

SdlAudioOutput::Voice SdlAudioOutput::play(const SoundPtr& given, bool loop, int repeats, devices::Mix mix)
{
    std::lock_guard lock(m_mutex);
    // Only sounds this output made play here: not one a silent stand-in timed.
    const auto wave = std::dynamic_pointer_cast<const WaveSound>(given);
    if (!m_open || !wave || (wave->chunk ? wave->chunk->alen == 0 : wave->lengthMs() <= 0))
        return {};
    const int channel = freeChannel();
    if (channel < 0)
        return {};
    ChannelUse& use = m_channels[std::size_t(channel)];
    use = {wave, ++m_lastSerial, nullptr, mix};
    // Loud as its kind from its first sample.
    if (wave->chunk) {
        applyVolume(std::size_t(channel));
        if (Mix_PlayChannel(channel, wave->chunk, loop ? -1 : repeats) != channel) {
            use = {};
            return {};
        }
    } else {
        use.stream = std::make_shared<SoundStream>(wave->source, loop ? -1 : repeats);
        applyVolume(std::size_t(channel));
        m_mixer.add(use.stream);
    }
    return {channel, m_lastSerial};
}

void SdlAudioOutput::halt(const Voice& voice)
{
    std::lock_guard lock(m_mutex);
    if (holds(voice))
        release(std::size_t(voice.channel));
}

void SdlAudioOutput::pause(const Voice& voice)
{
    std::lock_guard lock(m_mutex);
    if (!holds(voice))
        return;
    if (const auto& stream = m_channels[std::size_t(voice.channel)].stream)
        stream->setPaused(true);
    else
        Mix_Pause(voice.channel);
}

void SdlAudioOutput::resume(const Voice& voice)
{
    std::lock_guard lock(m_mutex);
    if (!holds(voice))
        return;
    if (const auto& stream = m_channels[std::size_t(voice.channel)].stream)
        stream->setPaused(false);
    else
        Mix_Resume(voice.channel);
}

bool SdlAudioOutput::sounding(const Voice& voice)
{
    std::lock_guard lock(m_mutex);
    if (!holds(voice))
        return false;
    const auto& stream = m_channels[std::size_t(voice.channel)].stream;
    return stream ? !stream->ended() : Mix_Playing(voice.channel) != 0;
}

SdlAudioOutput::MusicPtr SdlAudioOutput::loadMusic(const QByteArray& bytes)
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
    auto loaded = std::make_shared<const Piece>(std::move(*holder), music);
    std::lock_guard lock(m_mutex);
    m_lastLoadedMusic = loaded;
    return loaded;
}

SdlAudioOutput::MusicVoice SdlAudioOutput::playMusic(const MusicPtr& given)
{
    std::lock_guard lock(m_mutex);
    // Only pieces this output read play here.
    const auto music = std::dynamic_pointer_cast<const Piece>(given);
    if (!m_open || !music)
        return 0;
    if (Mix_PlayMusic(music->music, 0) != 0)
        return 0;
    // Starting a piece replaces the one before: its voice goes stale.
    m_playingMusic = music;
    m_musicVoice = ++m_lastSerial;
    return m_musicVoice;
}

void SdlAudioOutput::haltMusic(MusicVoice voice)
{
    std::lock_guard lock(m_mutex);
    if (!m_open || voice == 0 || voice != m_musicVoice)
        return;
    Mix_HaltMusic();
    m_playingMusic.reset();
    m_musicVoice = 0;
}

void SdlAudioOutput::pauseMusic(MusicVoice voice)
{
    std::lock_guard lock(m_mutex);
    if (m_open && voice != 0 && voice == m_musicVoice)
        Mix_PauseMusic();
}

void SdlAudioOutput::resumeMusic(MusicVoice voice)
{
    std::lock_guard lock(m_mutex);
    if (m_open && voice != 0 && voice == m_musicVoice)
        Mix_ResumeMusic();
}

bool SdlAudioOutput::musicSounding(MusicVoice voice)
{
    std::lock_guard lock(m_mutex);
    return m_open && voice != 0 && voice == m_musicVoice && Mix_PlayingMusic();
}

} // namespace backend
