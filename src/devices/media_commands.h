#pragma once

#include "devices/audio_device.h"
#include "platform/deadline.h"

#include <QEvent>
#include <QImage>
#include <QPointer>
#include <QString>

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

// The media command interpreter the games talk to: text commands that open,
// play, pause, seek, stop, close and ask the status of devices, as
//   Open "C:\music\theme.mid" ALIAS mid7 TYPE Sequencer wait
//   open C:\music\theme.mid type sequencer
//   play mid7 from 0 notify      Status mid7 mode      Close mid7
// Keywords are case-blind; a device is named by its alias, or without one by
// the file name it was opened with. Sequencer devices play MIDI, waveaudio
// devices WAV; every end is a deadline on the player's clock, so a piece is
// "playing" for exactly its length on a real or a virtual clock alike.
// Answers: 0 or an error code (see errorText); replies are the mode texts
// "playing", "paused", "stopped" (the empty text for a name nothing is open
// under) and lengths and positions in milliseconds.
class MediaCommands {
public:
    // The event a device opened or played with "notify" posts to its window
    // when it plays to its end, in turn among the window's other events.
    class Notice : public QEvent {
    public:
        static const QEvent::Type kType;
        explicit Notice(QString device) : QEvent(kType), device(std::move(device)) {}
        QString device;
        // Played to its end (the only completion this layer reports).
        bool successful = true;
    };

    enum Error : int {
        kOk = 0,
        kUnknownCommand = 261,
        kUnknownDevice = 263,
        kBadParameter = 274,
        kFileNotFound = 275,
        kCannotRead = 296,
        kUnsupportedDevice = 305,
    };

    MediaCommands(platform::Clock& clock, AudioDevice& audio, const platform::FileResolver& files, base::EventLog& log);
    ~MediaCommands();
    MediaCommands(const MediaCommands&) = delete;
    MediaCommands& operator=(const MediaCommands&) = delete;

    // Carries out one command; the reply (status) goes to reply when given.
    // notify: the window that takes the notices of this command's device.
    int send(const QString& command, QString* reply = nullptr, QObject* notify = nullptr);
    static QString errorText(int code);
    // The mode of a device as "Status NAME mode" answers it, without a
    // command (for the state dump).
    QString mode(const QString& name) const;
    // The length of a device in milliseconds, without a command; 0 for a
    // name nothing is open under.
    qint64 lengthMs(const QString& name) const;

    // The player's pause: what plays holds where it is, and goes on from
    // there when released; a device the game paused stays paused.
    void hold(bool held);

    // A form of the path that commands can carry unquoted (no blanks, only
    // ASCII), naming the same file; the empty text for a missing file.
    QString shortPath(const QString& path);

    // Where video pictures go: the parent window's handle of "parent N"
    // and the picture of the moment; the video window goes when it closes.
    std::function<void(qint64 parent, const QImage& frame)> onVideoFrame;
    std::function<void(qint64 parent)> onVideoClosed;
    // Told why a video, a sound or a piece of music is skipped.
    std::function<void(const QString&)> onNotice;
    // Told of each file that starts to play.
    std::function<void(const QString& file)> onPlay;

private:
    struct Device;
    // The commands on an open device, each as send carries it out.
    int open(const QStringList& words);
    int status(const Device& device, const QStringList& words, QString* reply) const;
    int close(Device& device);
    int stop(Device& device, bool pause);
    int seek(Device& device, const QStringList& words);
    int play(Device& device, const QStringList& words, QObject* notify);
    Device* find(const QString& name) const;
    void finished(Device& device);
    qint64 position(const Device& device) const;
    void start(Device& device, qint64 from);
    void silence(Device& device, bool pausing);
    void showFrame(Device& device);
    // What a device of each type plays, read for open; Failure when the
    // file cannot be played.
    void openSequencer(Device& device);
    void openWave(Device& device);
    void openVideo(Device& device);

    platform::Clock& m_clock;
    AudioDevice& m_audio;
    const platform::FileResolver& m_files;
    base::EventLog& m_log;
    std::map<QString, std::unique_ptr<Device>> m_devices;
    std::map<QString, QString> m_shortPaths;
};

} // namespace devices
