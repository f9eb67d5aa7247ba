#include "platform/clock.h"

#include "platform/deadline.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace platform {

void Clock::remove(Timer* timer)
{
    m_timers.erase(std::remove(m_timers.begin(), m_timers.end(), timer), m_timers.end());
}

void Clock::remove(Deadline* deadline)
{
    m_deadlines.erase(std::remove(m_deadlines.begin(), m_deadlines.end(), deadline), m_deadlines.end());
}

Deadline* Clock::nextDue(qint64 limit) const
{
    // Of equal deadlines the one registered first goes first.
    Deadline* best = nullptr;
    for (Deadline* d : m_deadlines) {
        if (d->armed() && d->dueAt() <= limit && (!best || d->dueAt() < best->dueAt()))
            best = d;
    }
    return best;
}

namespace {
qint64 monotonicMs()
{
    static QElapsedTimer since = [] { QElapsedTimer t; t.start(); return t; }();
    return since.elapsed();
}
} // namespace

RealClock::RealClock() : m_startMs(monotonicMs()) {}

qint64 RealClock::elapsedMs() const
{
    return monotonicMs() - m_startMs;
}

void RealClock::sleep(qint64 ms)
{
    QEventLoop loop;
    QTimer::singleShot(std::max<qint64>(ms, 0), &loop, &QEventLoop::quit);
    loop.exec();
}

void RealClock::doEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace {

// One repeating timer and one event loop for all the steps.
class RealPacer : public Clock::Pacer {
public:
    explicit RealPacer(qint64 stepMs)
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, &m_loop, [this] {
            m_ticked = true;
            m_loop.quit();
        });
        m_timer.start(static_cast<int>(std::clamp<qint64>(stepMs, 1, 1'000'000)));
    }
    void wait() override
    {
        if (!m_ticked)
            m_loop.exec();
        m_ticked = false;
    }

private:
    QTimer m_timer;
    QEventLoop m_loop;
    bool m_ticked = false;
};

class VirtualPacer : public Clock::Pacer {
public:
    VirtualPacer(VirtualClock& clock, qint64 stepMs) : m_clock(clock), m_stepMs(stepMs) {}
    void wait() override { m_clock.advance(m_stepMs); }

private:
    VirtualClock& m_clock;
    qint64 m_stepMs;
};

} // namespace

std::unique_ptr<Clock::Pacer> RealClock::pacer(qint64 stepMs)
{
    return std::make_unique<RealPacer>(stepMs);
}

std::unique_ptr<Clock::Pacer> VirtualClock::pacer(qint64 stepMs)
{
    return std::make_unique<VirtualPacer>(*this, stepMs);
}

bool RealClock::waitForEvents()
{
    if (m_waitsEnded)
        return false;
    if (onListening)
        onListening(true);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (onListening)
        onListening(false);
    return true;
}

VirtualClock::VirtualClock(QDateTime start) : m_start(std::move(start)) {}

void VirtualClock::runPostedEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void VirtualClock::advance(qint64 ms)
{
    const qint64 target = m_now + std::max<qint64>(ms, 0);
    runPostedEvents();
    while (Deadline* d = nextDue(target)) {
        m_now = std::max(m_now, d->dueAt());
        d->fire();
        runPostedEvents();
    }
    m_now = std::max(m_now, target);
}

bool VirtualClock::waitForEvents()
{
    runPostedEvents();
    if (m_waitsEnded)
        return false;
    if (m_inputSource) {
        if (onListening)
            onListening(true);
        const bool ran = m_inputSource();
        if (onListening)
            onListening(false);
        if (ran || m_waitsEnded)
            return !m_waitsEnded;
    }
    Deadline* d = nextDue(std::numeric_limits<qint64>::max());
    if (!d)
        return false;
    m_now = std::max(m_now, d->dueAt());
    d->fire();
    runPostedEvents();
    return true;
}

} // namespace platform
