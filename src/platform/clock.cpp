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

bool RealClock::waitForEvents()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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
    if (m_inputSource && m_inputSource())
        return true;
    Deadline* d = nextDue(std::numeric_limits<qint64>::max());
    if (!d)
        return false;
    m_now = std::max(m_now, d->dueAt());
    d->fire();
    runPostedEvents();
    return true;
}

} // namespace platform
