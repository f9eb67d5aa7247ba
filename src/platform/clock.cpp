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

qint64 RealClock::heldMs() const
{
    return m_heldBeforeMs + (m_held ? monotonicMs() - m_heldSinceMs : 0);
}

qint64 RealClock::elapsedMs() const
{
    return monotonicMs() - m_startMs - heldMs();
}

QDateTime RealClock::now() const
{
    return QDateTime::currentDateTime().addMSecs(-heldMs());
}

void RealClock::hold(bool held)
{
    if (held == m_held)
        return;
    if (held) {
        m_heldSinceMs = monotonicMs();
    } else {
        m_heldBeforeMs += monotonicMs() - m_heldSinceMs;
    }
    m_held = held;
    // Each deadline's own timer stops, and starts again for what is left.
    for (Deadline* d : m_deadlines) {
        if (d->armed())
            d->armAt(d->dueAt());
    }
}

void RealClock::sleep(qint64 ms)
{
    // A deadline of the clock, so that a pause holds the sleep too.
    QEventLoop loop;
    Deadline wake(*this, [&loop] { loop.quit(); });
    wake.armIn(ms);
    loop.exec();
}

void RealClock::doEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace {

// Steps at equal times of the clock from the first: a step that fell due
// while the last one was still being handled is not waited for, and a pause
// holds the next.
class RealPacer : public Clock::Pacer {
public:
    RealPacer(Clock& clock, qint64 stepMs)
        : m_clock(clock), m_stepMs(std::clamp<qint64>(stepMs, 1, 1'000'000)), m_origin(clock.elapsedMs()),
          m_next(m_origin + m_stepMs), m_step(clock, [this] { m_loop.quit(); })
    {
    }
    void wait() override
    {
        if (m_clock.elapsedMs() < m_next) {
            m_step.armAt(m_next);
            m_loop.exec();
        }
        // The next step of the grid after this one: steps missed while the
        // last one was handled are not made up.
        const qint64 at = std::max(m_clock.elapsedMs(), m_next);
        m_next = m_origin + ((at - m_origin) / m_stepMs + 1) * m_stepMs;
    }

private:
    Clock& m_clock;
    qint64 m_stepMs;
    qint64 m_origin;
    qint64 m_next;
    QEventLoop m_loop;
    Deadline m_step;
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
    return std::make_unique<RealPacer>(*this, stepMs);
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
    runPostedEvents();
    if (m_held)
        return;
    const qint64 target = m_now + std::max<qint64>(ms, 0);
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
    // Held, nothing falls due until the player's input releases the clock.
    if (m_held)
        return false;
    Deadline* d = nextDue(std::numeric_limits<qint64>::max());
    if (!d)
        return false;
    m_now = std::max(m_now, d->dueAt());
    d->fire();
    runPostedEvents();
    return true;
}

} // namespace platform
