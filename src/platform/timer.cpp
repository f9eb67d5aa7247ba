#include "platform/timer.h"

#include "platform/clock.h"
#include "platform/failure.h"

#include <QTimer>

namespace platform {

Timer::Timer(Clock& clock, QString name, int interval)
    : m_clock(clock), m_name(std::move(name)), m_interval(interval)
{
    m_clock.add(this);
    if (!m_clock.isVirtual()) {
        m_qtimer = std::make_unique<QTimer>();
        QObject::connect(m_qtimer.get(), &QTimer::timeout, [this] { fire(); });
    }
}

Timer::~Timer()
{
    m_clock.remove(this);
}

void Timer::restart()
{
    m_dueAt = m_clock.elapsedMs() + m_interval;
    if (!m_qtimer)
        return;
    if (armed())
        m_qtimer->start(m_interval);
    else
        m_qtimer->stop();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    restart();
}

void Timer::setInterval(long long ms)
{
    if (ms < 0 || ms > 65535)
        throw Failure(QStringLiteral("Invalid timer interval %1").arg(ms));
    m_interval = static_cast<int>(ms);
    restart();
}

void Timer::fire()
{
    m_dueAt += m_interval;
    if (m_handler)
        m_handler();
}

} // namespace platform
