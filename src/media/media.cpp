#include "media/media.h"

#include "platform/event_log.h"

#include <QJsonObject>

namespace media {

namespace {
QString quoted(const QString& s)
{
    return u'"' + s + u'"';
}
QString flag(bool b)
{
    return b ? QStringLiteral("True") : QStringLiteral("False");
}
} // namespace

void Media::record(const char* layer, const QString& call)
{
    m_log.write(QJsonObject{
        {QStringLiteral("type"), QStringLiteral("media")},
        {QStringLiteral("layer"), QString::fromLatin1(layer)},
        {QStringLiteral("call"), call},
    });
}

QString Media::MidiStatus() const
{
    return m_midiPlaying ? QStringLiteral("playing") : QString();
}

void Media::PlayMIDImusic(const QString& path, bool repeat)
{
    record("mci", QStringLiteral("PlayMIDImusic %1, %2").arg(quoted(path), flag(repeat)));
    m_midiFile = path;
    m_midiLoop = repeat;
    m_midiPlaying = true;
}

void Media::StopMIDIMusic()
{
    record("mci", QStringLiteral("StopMIDIMusic"));
    m_midiPlaying = false;
    m_midiFile.clear();
}

void Media::StopMP3()
{
    record("mp3", QStringLiteral("StopMP3"));
    m_mp3Playing = false;
}

void Media::ReleaseWaveMix()
{
    record("wavemix", QStringLiteral("ReleaseWaveMix"));
}

void Media::PlaySoundChannels(const QString& path)
{
    record("wavemix", QStringLiteral("PlaySoundChannels %1").arg(quoted(path)));
}

void Media::PlayMovieWithStop(const QString& path, const QString& control)
{
    record("mci", QStringLiteral("PlayMovieWithStop %1, %2").arg(quoted(path), control));
    // With no video player the movie ends as soon as it starts.
    m_videoStatus = QStringLiteral("stopped");
}

void Media::StopMovie()
{
    record("mci", QStringLiteral("StopMovie"));
    m_videoStatus.clear();
}

void Media::VideoMediaClose()
{
    record("mci", QStringLiteral("VideoMedia.mmClose"));
    m_videoStatus.clear();
}

void Media::SoundMediaOpenWave(const QString& path)
{
    record("mci", QStringLiteral("SoundMedia.mmOpenWave %1").arg(quoted(path)));
    m_soundFile = path;
}

void Media::SoundMediaPlay()
{
    record("mci", QStringLiteral("SoundMedia.mmPlay"));
}

void Media::SoundMediaClose()
{
    record("mci", QStringLiteral("SoundMedia.mmClose"));
    m_soundFile.clear();
}

bool Media::IsVideoPlaying() const
{
    const QString s = m_videoStatus.toLower();
    return !s.isEmpty() && s != QLatin1String("stopped");
}

} // namespace media
