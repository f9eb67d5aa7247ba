#include "platform/deadline.h"

#include "platform/clock.h"

#include <QTimer>

#include <algorithm>

namespace platform {

Deadline::Deadline(Clock& clock, std::function<void()> onDue) : m_clock(clock), m_onDue(std::move(onDue))
{
    m_clock.add(this);
    if (!m_clock.isVirtual()) {
        m_qtimer = std::make_unique<QTimer>();
        m_qtimer->setSingleShot(true);
        m_qtimer->setTimerType(Qt::PreciseTimer);
        QObject::connect(m_qtimer.get(), &QTimer::timeout, [this] { fire(); });
    }
}

Deadline::~Deadline()
{
    m_clock.remove(this);
}

void Deadline::armAt(qint64 clockMs)
{
    m_armed = true;
    m_dueAt = clockMs;
    // A held clock starts the timer again when it is released.
    if (m_qtimer && m_clock.held())
        m_qtimer->stop();
    else if (m_qtimer)
        m_qtimer->start(static_cast<int>(std::clamp<qint64>(clockMs - m_clock.elapsedMs(), 0, 1'000'000'000)));
}

void Deadline::armIn(qint64 ms)
{
    armAt(m_clock.elapsedMs() + std::max<qint64>(ms, 0));
}

void Deadline::cancel()
{
    m_armed = false;
    if (m_qtimer)
        m_qtimer->stop();
}

void Deadline::fire()
{
    if (!m_armed)
        return;
    m_armed = false;
    if (m_qtimer)
        m_qtimer->stop();
    if (m_onDue)
        m_onDue();
}

} // namespace platform
