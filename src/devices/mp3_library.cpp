#include "devices/mp3_library.h"

#include "base/event_log.h"
#include "base/failure.h"
#include "devices/media_module.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"

#include <QCoreApplication>
#include <QEvent>
#include <QJsonObject>
#include <QThread>

namespace devices {

class Mp3Library::Inbox : public QObject {
public:
    explicit Inbox(Mp3Library& library) : m_library(library) {}
    bool event(QEvent* event) override
    {
        // The library's lock before the event is read: a worker made it
        // under that lock.
        bool knock = false;
        {
            std::lock_guard lock(m_library.m_mutex);
            knock = event->type() == QEvent::User;
        }
        if (!knock)
            return QObject::event(event);
        m_library.runJobs();
        return true;
    }

private:
    Mp3Library& m_library;
};

Mp3Library::Mp3Library(platform::Clock& clock, AudioDevice& audio, const platform::FileResolver& files, base::EventLog& log)
    : m_clock(clock), m_audio(audio), m_files(files), m_log(log), m_inbox(std::make_unique<Inbox>(*this)), m_end(clock, [this] {
        std::lock_guard lock(m_mutex);
        m_finished = true;
        m_changed.notify_all();
    })
{
}

Mp3Library::~Mp3Library()
{
    stop();
}

void Mp3Library::onWindowThread(std::function<void()> job)
{
    // On the window's thread itself it runs at once.
    if (QThread::currentThread() == m_inbox->thread()) {
        job();
        return;
    }
    QEvent* knock = nullptr;
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        knock = new QEvent(QEvent::User); // posted, then owned by Qt's queue
    }
    QCoreApplication::postEvent(m_inbox.get(), knock);
}

void Mp3Library::runJobs()
{
    for (;;) {
        std::function<void()> job;
        {
            std::lock_guard lock(m_mutex);
            if (m_jobs.empty())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
    }
}

void Mp3Library::record(const QString& call)
{
    // The log belongs to the window's thread.
    onWindowThread([this, call] {
        m_log.write(QJsonObject{{QStringLiteral("type"), QStringLiteral("media")},
                                {QStringLiteral("layer"), QStringLiteral("mp3")},
                                {QStringLiteral("call"), call}});
    });
}

void Mp3Library::tell(const QString& text)
{
    onWindowThread([this, text] {
        if (onNotice)
            onNotice(text);
    });
}

Mp3Library::Piece Mp3Library::decoded(const QString& path)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_cached.sound && m_cachedPath == path)
            return m_cached;
    }
    // Read from its file as it plays: a piece of an hour costs what one of
    // a minute does.
    const auto real = m_files.resolve(path);
    if (!real)
        throw base::Failure(QStringLiteral("File not found: %1").arg(path));
    Piece piece{m_audio.stream(AudioSource{QString::fromStdString(real->string()), {}}), 0};
    piece.lengthMs = AudioDevice::lengthMs(piece.sound);
    std::lock_guard lock(m_mutex);
    m_cachedPath = path;
    m_cached = piece;
    return piece;
}

bool Mp3Library::gettime(const QString& path, double& ms)
{
    record(QStringLiteral("mp3gettime \"%1\"").arg(path));
    try {
        ms = static_cast<double>(decoded(path).lengthMs);
        return true;
    } catch (const base::Failure& failure) {
        // Without the media module, that was told once for every piece.
        if (m_files.fileExists(path) && !m_audio.module().missing())
            tell(QStringLiteral("The music %1 is skipped: %2").arg(path, QString::fromUtf8(failure.what())));
        ms = 0;
        return false;
    }
}

std::uint64_t Mp3Library::ticket() const
{
    std::lock_guard lock(m_mutex);
    return m_stops;
}

void Mp3Library::play(const QString& path, std::uint64_t ticket, const std::function<void()>& started)
{
    record(QStringLiteral("mp3play \"%1\"").arg(path));
    Piece piece;
    try {
        piece = decoded(path);
    } catch (const base::Failure&) {
    }
    const AudioDevice::SoundPtr sound = piece.sound;
    std::unique_lock lock(m_mutex);
    if (!sound || ticket != m_stops) {
        lock.unlock();
        started();
        return;
    }
    m_finished = false;
    const qint64 length = piece.lengthMs;
    // The sound and its end start on the window's thread, unless a stop
    // comes first; queued here, under the lock already held.
    m_jobs.push_back([this, sound, length, ticket, path] {
        {
            std::lock_guard guard(m_mutex);
            if (ticket != m_stops)
                return;
        }
        m_audio.halt(m_voice);
        m_voice = m_audio.play(sound, false, 0, Mix::Music);
        m_end.armIn(length);
        if (onPlay)
            onPlay(path);
    });
    QEvent* knock = new QEvent(QEvent::User); // posted, then owned by Qt's queue
    lock.unlock();
    QCoreApplication::postEvent(m_inbox.get(), knock);
    started();
    lock.lock();
    m_changed.wait(lock, [&] { return m_finished || ticket != m_stops; });
}

void Mp3Library::hold(bool held)
{
    held ? m_audio.pause(m_voice) : m_audio.resume(m_voice);
}

void Mp3Library::stop()
{
    record(QStringLiteral("mp3stop"));
    {
        std::lock_guard lock(m_mutex);
        ++m_stops;
        m_changed.notify_all();
    }
    m_end.cancel();
    m_audio.halt(m_voice);
}

} // namespace devices
