#pragma once

#include "devices/audio_device.h"
#include "platform/deadline.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace base {
class EventLog;
}
namespace platform {
class Clock;
class FileResolver;
}

namespace devices {

// MP3 music as a library of three calls: the length of a piece, a play that
// blocks its (worker) thread until the piece ends or is stopped, and a stop
// callable from the window's thread. The sound plays on its own channel of
// the audio device; its end is a deadline on the player's clock, reached
// from the worker only through events posted to the window's thread.
class Mp3Library {
public:
    Mp3Library(platform::Clock& clock, AudioDevice& audio, const platform::FileResolver& files, base::EventLog& log);
    ~Mp3Library();

    // The length in milliseconds; false when the file is missing or cannot
    // be decoded. Any thread.
    bool gettime(const QString& path, double& ms);
    // A ticket for a play about to start: a stop after it makes that play
    // return at once without a sound. Window's thread.
    std::uint64_t ticket() const;
    // Plays to the end or to a stop, then returns. started runs once the
    // start is on its way to the window's thread (or refused). Worker thread.
    void play(const QString& path, std::uint64_t ticket, const std::function<void()>& started);
    // Ends a running play, and any play whose ticket came before. Window's thread.
    void stop();
    // The player's pause: the piece holds where it is, and goes on from
    // there when released (its end follows the clock). Window's thread.
    void hold(bool held);
    // Told, on the window's thread, of each piece that starts to play.
    std::function<void(const QString& path)> onPlay;
    // Told, on the window's thread, why a piece that is there cannot be played.
    std::function<void(const QString&)> onNotice;

private:
    // The piece decoded, and its length as the file tells it.
    struct Piece {
        AudioDevice::SoundPtr sound;
        qint64 lengthMs = 0;
    };
    Piece decoded(const QString& path);
    void record(const QString& call);
    void tell(const QString& text);
    // Runs the job on the window's thread: at once when called there, else
    // in turn with its other events.
    // The jobs wait in a queue under this library's own lock, and only a
    // bare event crosses Qt's queue, so that everything the two threads
    // share is guarded by a lock the thread checker can see.
    void onWindowThread(std::function<void()> job);
    void runJobs();
    class Inbox;

    platform::Clock& m_clock;
    AudioDevice& m_audio;
    const platform::FileResolver& m_files;
    base::EventLog& m_log;
    std::unique_ptr<Inbox> m_inbox;
    std::deque<std::function<void()>> m_jobs; // guarded by m_mutex
    platform::Deadline m_end;
    // The piece sounding; window's thread only.
    AudioDevice::Voice m_voice;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::uint64_t m_stops = 0;
    bool m_finished = false;
    QString m_cachedPath;
    Piece m_cached;
};

} // namespace devices
