#pragma once

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace platform {
class EventLog;
}

namespace media {

// The media entry points that frames and actions call: MIDI, MP3, the wave
// mixer, the video object and the frame's sound channels. Until the players
// are built these keep the state that the calls imply (MIDI "playing" after
// PlayMIDImusic, until StopMIDIMusic) and log every call as a "media" line,
// playing nothing.
class Media {
public:
    explicit Media(platform::EventLog& log) : m_log(log) {}

    // MIDI
    QString MidiStatus() const;
    void PlayMIDImusic(const QString& path, bool repeat);
    void StopMIDIMusic();
    // MP3
    bool IsMP3Playing() const { return m_mp3Playing; }
    void StopMP3();
    // The length in seconds and the start of the MP3 music scheduled or playing.
    std::int32_t MP3Duration = 0;
    QDateTime MP3StartTime;
    // The wave mixer and the frame's channel file
    void ReleaseWaveMix();
    void PlaySoundChannels(const QString& path);
    // Single wave sounds (the SoundMedia object)
    void SoundMediaOpenWave(const QString& path);
    void SoundMediaPlay();
    void SoundMediaClose();
    const QString& soundMediaFile() const { return m_soundFile; }
    // Video (the VideoMedia object and the movie procedures)
    void PlayMovieWithStop(const QString& path, const QString& control);
    void StopMovie();
    void VideoMediaClose();
    QString VideoStatus() const { return m_videoStatus; }
    bool IsVideoPlaying() const;

    // What plays now, for the dump.
    const QString& midiFileName() const { return m_midiFile; }
    bool midiLoop() const { return m_midiLoop; }

private:
    void record(const char* layer, const QString& call);

    platform::EventLog& m_log;
    QString m_midiFile;
    bool m_midiPlaying = false;
    bool m_midiLoop = false;
    bool m_mp3Playing = false;
    QString m_videoStatus;
    QString m_soundFile;
};

} // namespace media
