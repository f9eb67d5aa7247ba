#include "media/mp3_music.h"

#include "devices/mp3_library.h"
#include "platform/clock.h"

#include <algorithm>
#include <cmath>

namespace media {

Mp3Music::Mp3Music(platform::Clock& clock, devices::Mp3Library& library) : m_clock(clock), m_library(library) {}

Mp3Music::~Mp3Music()
{
    StopMP3();
    join();
}

void Mp3Music::join()
{
    if (m_worker.joinable())
        m_worker.join();
}

void Mp3Music::StartMP3Thread(const QString& path)
{
    // A worker still in its play is stopped here when no stop came since
    // its start: it waits for an end that only this thread can bring, so
    // joining it unstopped would wait for ever.
    if (m_worker.joinable() && m_library.ticket() == m_ticket)
        StopMP3();
    join();
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(m_mutex);
        generation = m_generation;
        m_workerSettled = false;
    }
    m_file = path;
    m_ticket = m_library.ticket();
    m_worker = std::thread(&Mp3Music::MP3ThreadProc, this, path, generation, m_ticket);
    // On a virtual clock time stands still until the worker has measured the
    // piece and started it, so that a scripted run repeats exactly.
    if (m_clock.isVirtual()) {
        std::unique_lock lock(m_mutex);
        m_settled.wait(lock, [this] { return m_workerSettled; });
    }
}

void Mp3Music::MP3ThreadProc(const QString& path, std::uint64_t generation, std::uint64_t ticket)
{
    double ms = 0;
    m_library.gettime(path, ms);
    {
        std::lock_guard lock(m_mutex);
        if (generation == m_generation) {
            const double seconds = std::floor(ms / 1000.0);
            m_duration = static_cast<std::int16_t>(std::clamp(seconds, 0.0, 32767.0));
            m_startTime = m_clock.now();
        }
    }
    m_library.play(path, ticket, [this] {
        std::lock_guard lock(m_mutex);
        m_workerSettled = true;
        m_settled.notify_all();
    });
}

void Mp3Music::StopMP3()
{
    {
        std::lock_guard lock(m_mutex);
        ++m_generation;
        m_duration = 0;
    }
    m_library.stop();
}

bool Mp3Music::IsMP3Playing() const
{
    std::lock_guard lock(m_mutex);
    if (m_duration == 0 || !m_startTime.isValid())
        return false;
    return m_startTime.secsTo(m_clock.now()) <= qint64(m_duration) + 5;
}

std::int16_t Mp3Music::MP3Duration() const
{
    std::lock_guard lock(m_mutex);
    return m_duration;
}

void Mp3Music::setMP3Duration(std::int16_t seconds)
{
    std::lock_guard lock(m_mutex);
    m_duration = seconds;
}

QDateTime Mp3Music::MP3StartTime() const
{
    std::lock_guard lock(m_mutex);
    return m_startTime;
}

void Mp3Music::setMP3StartTime(const QDateTime& when)
{
    std::lock_guard lock(m_mutex);
    m_startTime = when;
}

} // namespace media
