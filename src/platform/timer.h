#pragma once

#include "platform/deadline.h"

#include <QString>

#include <functional>

namespace platform {

class Clock;

// A window timer as the games expect it: an interval of 0 never fires, an
// interval above 65535 ms or below 0 is a failure (the interval stays as it
// was), and (re)arming or changing the interval starts the count again.
class Timer {
public:
    Timer(Clock& clock, QString name, int interval = 0);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const QString& name() const { return m_name; }
    bool enabled() const { return m_enabled; }
    int interval() const { return m_interval; }
    const QString& tag() const { return m_tag; }

    void setEnabled(bool enabled);
    // Throws base::Failure for an interval outside 0 to 65535.
    void setInterval(long long ms);
    void setTag(const QString& tag) { m_tag = tag; }
    void onTimer(std::function<void()> handler) { m_handler = std::move(handler); }

    // When the timer falls due next, on its clock.
    qint64 dueAt() const { return m_tick.dueAt(); }
    bool armed() const { return m_enabled && m_interval > 0; }
    // Runs the handler as the timer event does, and counts the next interval.
    void fire();

private:
    void restart();

    Clock& m_clock;
    QString m_name;
    bool m_enabled = false;
    int m_interval = 0;
    QString m_tag;
    std::function<void()> m_handler;
    Deadline m_tick;
};

} // namespace platform
