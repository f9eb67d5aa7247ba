#pragma once

#include <QDateTime>

#include <functional>
#include <memory>
#include <vector>

namespace platform {

class Deadline;
class Timer;

// Time for the player: the time of day, the timers and every wait. A real
// clock follows the wall clock and Qt's timers; a virtual clock (tests and
// scripted runs) stands still until told to move, then fires every timer that
// falls due on the way, in order, so a run gives the same result every time.
class Clock {
public:
    virtual ~Clock() = default;

    virtual bool isVirtual() const = 0;
    // The time of day.
    virtual QDateTime now() const = 0;
    // Milliseconds since the clock started; never goes back.
    virtual qint64 elapsedMs() const = 0;

    // Waits ms milliseconds while other handlers run, without using CPU.
    virtual void sleep(qint64 ms) = 0;
    // Runs the events that are pending and returns at once.
    virtual void doEvents() = 0;
    // Waits for something to happen, for loops that wait on a condition
    // (the end of a video): a real clock blocks until at least one event
    // arrives; a virtual clock moves to the next deadline that falls due.
    // False when nothing can ever happen: a virtual clock with no deadline
    // armed, on which such a loop would wait for ever.
    virtual bool waitForEvents() = 0;

    // Waits in equal steps of one timer, for loops that move something a
    // step at a time (the inventory bar's slide): each wait lasts until the
    // next step is due, with other handlers running meanwhile.
    class Pacer {
    public:
        virtual ~Pacer() = default;
        virtual void wait() = 0;
    };
    virtual std::unique_ptr<Pacer> pacer(qint64 stepMs) = 0;

    // Timers and deadlines register themselves while they exist.
    void add(Timer* timer) { m_timers.push_back(timer); }
    void remove(Timer* timer);
    const std::vector<Timer*>& timers() const { return m_timers; }
    void add(Deadline* deadline) { m_deadlines.push_back(deadline); }
    void remove(Deadline* deadline);

    // Where a scripted run's input comes from while the program waits for
    // the player (a video plays): a wait first asks it to run the next
    // line, as a person's click or key would arrive; false when it has none.
    void setInputSource(std::function<bool()> source) { m_inputSource = std::move(source); }

    // The run is over: from now on a wait for events returns false at once,
    // so no loop goes on waiting for what is still playing (a video whose
    // end lies hours away on a virtual clock).
    void endWaits() { m_waitsEnded = true; }
    bool waitsEnded() const { return m_waitsEnded; }

    // Told when a wait for events starts (true) and ends (false) listening
    // for the player's input: the time between is the player's, not the
    // program's (a recorder of play-throughs writes it as a wait).
    std::function<void(bool listening)> onListening;

    // The player's pause: while held, the clock stands still (its elapsed
    // time and its time of day alike), no deadline falls due and every
    // sleep and pace lasts that much longer; released, everything goes on
    // from where it was, as if the pause had never been.
    virtual void hold(bool held) = 0;
    bool held() const { return m_held; }

protected:
    // The armed deadline that falls due first, no later than the limit.
    Deadline* nextDue(qint64 limit) const;

    std::vector<Timer*> m_timers;
    std::vector<Deadline*> m_deadlines;
    std::function<bool()> m_inputSource;
    bool m_waitsEnded = false;
    bool m_held = false;
};

class RealClock : public Clock {
public:
    RealClock();
    bool isVirtual() const override { return false; }
    QDateTime now() const override;
    qint64 elapsedMs() const override;
    void sleep(qint64 ms) override;
    void doEvents() override;
    bool waitForEvents() override;
    std::unique_ptr<Pacer> pacer(qint64 stepMs) override;
    void hold(bool held) override;

private:
    // The wall-clock milliseconds spent held, the current hold included.
    qint64 heldMs() const;

    qint64 m_startMs;
    qint64 m_heldBeforeMs = 0;
    qint64 m_heldSinceMs = 0;
};

class VirtualClock : public Clock {
public:
    explicit VirtualClock(QDateTime start = QDateTime::currentDateTime());
    bool isVirtual() const override { return true; }
    QDateTime now() const override { return m_start.addMSecs(m_now); }
    qint64 elapsedMs() const override { return m_now; }
    void sleep(qint64 ms) override { advance(ms); }
    void doEvents() override { runPostedEvents(); }
    bool waitForEvents() override;
    std::unique_ptr<Pacer> pacer(qint64 stepMs) override;
    void hold(bool held) override { m_held = held; }

    // Moves the clock ms milliseconds on, firing due deadlines in order and
    // running the events they post; while held, only the events run.
    void advance(qint64 ms);

private:
    static void runPostedEvents();

    QDateTime m_start;
    qint64 m_now = 0;
};

} // namespace platform
