#pragma once

#include <QDateTime>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace platform {
class Clock;
}
namespace devices {
class Mp3Library;
}

namespace media {

// MP3 music: each piece plays on a worker thread of its own, blocked in the
// library's play until the music ends or is stopped. The window's thread
// never waits for the worker to learn that the music ended: it compares the
// length and the start time with the clock, and counts the music as playing
// until five seconds after its end.
class Mp3Music {
public:
    Mp3Music(platform::Clock& clock, devices::Mp3Library& library);
    // Stops the music and joins the worker.
    ~Mp3Music();

    // Starts the piece on a new worker (from MP3Timer's tick).
    void StartMP3Thread(const QString& path);
    void StopMP3();
    bool IsMP3Playing() const;

    // Seconds; 0: no music. A scheduled start counts as 60 until measured.
    std::int16_t MP3Duration() const;
    void setMP3Duration(std::int16_t seconds);
    QDateTime MP3StartTime() const;
    void setMP3StartTime(const QDateTime& when);
    const QString& MP3File() const { return m_file; }

private:
    void MP3ThreadProc(const QString& path, std::uint64_t generation, std::uint64_t ticket);
    void join();

    platform::Clock& m_clock;
    devices::Mp3Library& m_library;
    mutable std::mutex m_mutex;
    std::condition_variable m_settled;
    // Each stop starts a new generation; a worker writes the length and the
    // start time only while its own generation is current, under the lock
    // that the stop takes, so a stop that lands between the worker's length
    // query and its play is never undone by the worker's writes.
    std::uint64_t m_generation = 0;
    bool m_workerSettled = true;
    std::int16_t m_duration = 0;
    QDateTime m_startTime;
    QString m_file;
    // The library's ticket of the worker's play.
    std::uint64_t m_ticket = 0;
    std::thread m_worker;
};

} // namespace media
