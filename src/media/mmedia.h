#pragma once

#include <QString>

namespace platform {
class Clock;
class FileResolver;
}
namespace devices {
class MediaCommands;
}

namespace media {

// One media device at a time (a MIDI sequence, a wave sound) driven by text
// commands, as the games' shared media objects are. Commands go out through
// the media command layer; its answers are never reported: a sound that
// cannot be opened simply does not play.
class Mmedia {
public:
    Mmedia(devices::MediaCommands& commands, platform::Clock& clock, const platform::FileResolver& files)
        : m_commands(commands), m_clock(clock), m_files(files)
    {
    }

    // Opens a MIDI file (sequencer) or a wave (waveaudio), closing what was
    // open. The alias is the file name's last three characters and the
    // minute of the hour on the player's clock.
    void mmOpen(const QString& file) { open(file, QStringLiteral("Sequencer")); }
    void mmOpenWave(const QString& file) { open(file, QStringLiteral("Waveaudio")); }
    void mmClose();
    void mmPause();
    void mmPlay();
    void mmStop();
    void mmSeek(float position);

    const QString& FileName() const { return m_fileName; }
    void setFileName(const QString& file) { mmOpen(file); }
    // Milliseconds, 0 when nothing is open.
    float Length() { return number(QStringLiteral(" length")); }
    float Position() { return number(QStringLiteral(" position")); }
    // "playing", "paused", "stopped", or the empty text when nothing is open.
    QString Status();
    const QString& Alias() const { return m_alias; }

    // Videos: opened under a random alias as a child of the parent window
    // (the handle of a picture element), and played without waiting. A
    // missing file sends nothing.
    void PlayMovie(const QString& file, qint64 parentHandle);
    // Stops and closes the video; the alias text stays until the next one.
    void StopMovie();

private:
    void open(const QString& file, const QString& type);
    float number(const QString& what);

    devices::MediaCommands& m_commands;
    platform::Clock& m_clock;
    const platform::FileResolver& m_files;
    QString m_alias;
    QString m_fileName;
};

} // namespace media
