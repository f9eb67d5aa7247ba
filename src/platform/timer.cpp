#include "platform/timer.h"

#include "base/failure.h"
#include "platform/clock.h"


namespace platform {

Timer::Timer(Clock& clock, QString name, int interval)
    : m_clock(clock), m_name(std::move(name)), m_interval(interval), m_tick(clock, [this] { fire(); })
{
    m_clock.add(this);
}

Timer::~Timer()
{
    m_clock.remove(this);
}

void Timer::restart()
{
    if (armed())
        m_tick.armIn(m_interval);
    else
        m_tick.cancel();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    restart();
}

void Timer::setInterval(long long ms)
{
    if (ms < 0 || ms > 65535)
        throw base::Failure(QStringLiteral("Invalid timer interval %1").arg(ms));
    m_interval = static_cast<int>(ms);
    restart();
}

void Timer::fire()
{
    // The next tick counts from this one; a handler that changes the timer
    // arms it anew from now.
    if (armed())
        m_tick.armAt(m_tick.dueAt() + m_interval);
    if (m_handler)
        m_handler();
}

} // namespace platform
