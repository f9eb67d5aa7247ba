#include "platform/clock.h"

#include "platform/timer.h"

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

void RealClock::waitForEvents()
{
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

VirtualClock::VirtualClock(QDateTime start) : m_start(std::move(start)) {}

void VirtualClock::runPostedEvents()
{
    if (QCoreApplication::instance())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

Timer* VirtualClock::nextDue(qint64 limit) const
{
    Timer* best = nullptr;
    for (Timer* t : m_timers) {
        if (t->armed() && t->dueAt() <= limit && (!best || t->dueAt() < best->dueAt()))
            best = t;
    }
    return best;
}

void VirtualClock::advance(qint64 ms)
{
    const qint64 target = m_now + std::max<qint64>(ms, 0);
    runPostedEvents();
    while (Timer* t = nextDue(target)) {
        m_now = std::max(m_now, t->dueAt());
        t->fire();
        runPostedEvents();
    }
    m_now = std::max(m_now, target);
}

void VirtualClock::waitForEvents()
{
    runPostedEvents();
    if (Timer* t = nextDue(std::numeric_limits<qint64>::max())) {
        m_now = std::max(m_now, t->dueAt());
        t->fire();
        runPostedEvents();
    }
}

} // namespace platform
