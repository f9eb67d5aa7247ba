#include "media/media.h"

#include "devices/audio_device.h"
#include "devices/media_commands.h"
#include "devices/media_module.h"
#include "devices/mp3_library.h"
#include "devices/wave_mix_library.h"
#include "media/midi_music.h"
#include "media/mmedia.h"
#include "media/mp3_music.h"
#include "media/sound_channels.h"
#include "media/speech.h"
#include "run/context.h"

#include <QJsonArray>

namespace media {

Media::Media(run::Context& rt) : m_rt(rt)
{
    const auto notice = [this](const QString& text) { m_rt.notices.notice(text); };
    devices::AudioDevice::Options options;
    options.silent = rt.options().scripted;
    options.muted = rt.options().mute;
    options.soundFont = rt.options().soundFont;
    options.volumes = rt.options().volumes;
    options.notice = notice;
    const QStringList& folders = rt.options().mediaModuleFolders;
    m_module = std::make_unique<devices::MediaModule>(notice, folders.isEmpty() ? devices::MediaModule::ProgramFolders() : folders);
    m_audio = std::make_unique<devices::AudioDevice>(*m_module, std::move(options));
    m_commands = std::make_unique<devices::MediaCommands>(rt.clock(), *m_audio, rt.files, rt.log);
    m_waveMix = std::make_unique<devices::WaveMixLibrary>(rt.clock(), *m_audio, rt.files, rt.log);
    m_mp3Library = std::make_unique<devices::Mp3Library>(rt.clock(), *m_audio, rt.files, rt.log);
    m_soundMedia = std::make_unique<Mmedia>(*m_commands, rt.clock(), rt.files);
    m_channels = std::make_unique<SoundChannels>(rt, *this, *m_waveMix);
    m_midi = std::make_unique<MidiMusic>(rt, *m_commands);
    m_mp3 = std::make_unique<Mp3Music>(rt.clock(), *m_mp3Library);
    m_videoMedia = std::make_unique<Mmedia>(*m_commands, rt.clock(), rt.files);
    m_speech = std::make_unique<Speech>(rt, *m_module);
    m_commands->onVideoFrame = [this](qint64 parent, const QImage& frame) {
        if (m_videoSurface.show)
            m_videoSurface.show(parent, frame);
    };
    m_commands->onVideoClosed = [this](qint64) {
        if (m_videoSurface.hide)
            m_videoSurface.hide();
    };
    m_commands->onNotice = notice;
    m_waveMix->onNotice = notice;
    m_mp3Library->onNotice = notice;
    const auto played = [this](const QString& file) { m_rt.notices.detail(QStringLiteral("plays %1").arg(file)); };
    m_commands->onPlay = played;
    m_waveMix->onPlay = played;
    m_mp3Library->onPlay = played;
}

void Media::setVolumes(const devices::Volumes& volumes)
{
    m_audio->setVolumes(volumes);
}

devices::Volumes Media::volumes() const
{
    return m_audio->volumes();
}

Media::~Media()
{
    // The worker first: it may be blocked in the library's play.
    m_mp3.reset();
    m_videoMedia.reset();
    m_midi.reset();
    m_channels.reset();
    m_soundMedia.reset();
    m_mp3Library.reset();
    m_waveMix.reset();
    m_commands.reset();
    m_audio.reset();
}

QString Media::MidiStatus()
{
    return m_midi->MidiStatus();
}

const QString& Media::MidiFileName() const
{
    return m_midi->MidiFileName();
}

bool Media::MidiLoop() const
{
    return m_midi->MidiLoop();
}

void Media::PlayMIDImusic(const QString& path, bool repeat)
{
    m_midi->PlayMIDImusic(path, repeat);
}

void Media::StopMIDIMusic()
{
    m_midi->StopMIDIMusic();
}

bool Media::IsMP3Playing() const
{
    return m_mp3->IsMP3Playing();
}

void Media::StopMP3()
{
    m_mp3->StopMP3();
}

std::int16_t Media::MP3Duration() const
{
    return m_mp3->MP3Duration();
}

void Media::setMP3Duration(std::int16_t seconds)
{
    m_mp3->setMP3Duration(seconds);
}

QDateTime Media::MP3StartTime() const
{
    return m_mp3->MP3StartTime();
}

void Media::setMP3StartTime(const QDateTime& when)
{
    m_mp3->setMP3StartTime(when);
}

void Media::MP3Timer_Timer(const QString& path)
{
    const QString status = VideoStatus().toLower();
    if (status == QLatin1String("stopped") || status.isEmpty())
        m_mp3->StartMP3Thread(path);
}

void Media::EnsureWaveMix()
{
    m_channels->EnsureWaveMix();
}

void Media::ReleaseWaveMix()
{
    m_channels->ReleaseWaveMix();
}

void Media::PlaySoundChannels(const QString& path)
{
    m_channels->PlaySoundChannels(path);
}

namespace {
// The picture elements a video can play in; a parent's handle is its place
// here plus one, a small number that is the same on every run.
const QString kVideoParents[] = {QStringLiteral("PictureBox"), QStringLiteral("CutSceneArea")};
} // namespace

qint64 Media::parentHandle(const QString& control)
{
    return control == kVideoParents[1] ? 2 : 1;
}

QString Media::parentControl(qint64 handle)
{
    return kVideoParents[handle == 2 ? 1 : 0];
}

void Media::setGameWindow(QObject* window, VideoSurface surface)
{
    m_midi->setWindow(window);
    m_videoSurface = std::move(surface);
}

void Media::StopMovie()
{
    m_videoMedia->StopMovie();
}

void Media::VideoMediaClose()
{
    m_videoMedia->mmClose();
}

QString Media::VideoStatus()
{
    return m_videoMedia->Status();
}

bool Media::IsVideoPlaying()
{
    return VideoStatus().toLower() == QLatin1String("playing");
}

void Media::hold(bool held)
{
    m_commands->hold(held);
    m_waveMix->hold(held);
    m_mp3Library->hold(held);
}

QJsonObject Media::state()
{
    QJsonArray channels;
    for (int c = 0; c < devices::WaveMixLibrary::kChannels; ++c) {
        const devices::WaveMixLibrary::ChannelState s = m_waveMix->channel(c);
        channels.append(QJsonObject{{QStringLiteral("channel"), c},
                                    {QStringLiteral("file"), s.file},
                                    {QStringLiteral("loop"), s.loop},
                                    {QStringLiteral("playing"), s.playing}});
    }
    const QString reply = m_commands->mode(m_midi->MidiFileName());
    const QString soundStatus = m_commands->mode(m_soundMedia->Alias());
    const devices::Volumes volumes = m_audio->volumes();
    return QJsonObject{
        {QStringLiteral("MidiFileName"), m_midi->MidiFileName()},
        {QStringLiteral("MidiStatus"), reply},
        {QStringLiteral("MidiLoop"), m_midi->MidiLoop()},
        {QStringLiteral("MP3File"), m_mp3->MP3File()},
        {QStringLiteral("MP3Duration"), m_mp3->MP3Duration()},
        {QStringLiteral("MP3Playing"), m_mp3->IsMP3Playing()},
        {QStringLiteral("VideoStatus"), m_commands->mode(m_videoMedia->Alias())},
        {QStringLiteral("channels"), channels},
        {QStringLiteral("SoundMedia"), QJsonObject{{QStringLiteral("file"), m_soundMedia->FileName()}, {QStringLiteral("status"), soundStatus}}},
        {QStringLiteral("WaveMixActive"), m_channels->WaveMixActive()},
        {QStringLiteral("volumes"), QJsonObject{
            {QStringLiteral("master"), volumes.master},
            {QStringLiteral("music"), volumes.music},
            {QStringLiteral("sounds"), volumes.sounds},
            {QStringLiteral("video"), volumes.video},
            {QStringLiteral("mute"), volumes.mute},
        }},
    };
}

} // namespace media
