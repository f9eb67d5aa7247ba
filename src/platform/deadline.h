#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

class QTimer;

namespace platform {

class Clock;

// A moment on a clock at which something is to happen: a timer's next tick,
// the end of a sound or a piece of music. Every deadline of a clock is in the
// clock's one queue, so a virtual clock moved on meets them all in order, and
// a real clock lets each one wake the event loop without any polling.
// Deadlines live on the window's thread.
class Deadline {
public:
    Deadline(Clock& clock, std::function<void()> onDue);
    ~Deadline();
    Deadline(const Deadline&) = delete;
    Deadline& operator=(const Deadline&) = delete;

    // Arms the deadline at a time of the clock (its elapsed milliseconds),
    // or that many milliseconds from now; a time already past falls due at
    // the next chance.
    void armAt(qint64 clockMs);
    void armIn(qint64 ms);
    void cancel();
    bool armed() const { return m_armed; }
    qint64 dueAt() const { return m_dueAt; }

    // Disarms, then runs the handler; the clock calls it when it falls due.
    void fire();

private:
    Clock& m_clock;
    std::function<void()> m_onDue;
    bool m_armed = false;
    qint64 m_dueAt = 0;
    std::unique_ptr<QTimer> m_qtimer;
};

} // namespace platform
