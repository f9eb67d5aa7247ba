#include "base/failure.h"
#include "platform/clock.h"
#include "platform/timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMetaObject>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using platform::Clock;
using base::Failure;
using platform::RealClock;
using platform::Timer;
using platform::VirtualClock;

namespace {

// Firings as "name@ms", the clock's time when the handler ran.
using Log = std::vector<std::string>;

std::string at(const char* name, const Clock& clock)
{
    return name + ('@' + std::to_string(clock.elapsedMs()));
}

void arm(Timer& timer, int ms, Clock& clock, Log& log, bool once = false)
{
    timer.setInterval(ms);
    timer.setEnabled(true);
    timer.onTimer([&timer, &clock, &log, once] {
        log.push_back(at(qPrintable(timer.name()), clock));
        if (once)
            timer.setEnabled(false);
    });
}

} // namespace

TEST(Clock, VirtualTimersFireInDeadlineOrderAtTheirDeadlines)
{
    VirtualClock clock;
    Log log;
    Timer slow(clock, "slow"), quick(clock, "quick"), mid(clock, "mid");
    arm(slow, 300, clock, log, true);
    arm(quick, 100, clock, log, true);
    arm(mid, 200, clock, log, true);
    clock.advance(1000);
    EXPECT_EQ(log, (Log{"quick@100", "mid@200", "slow@300"}));
    EXPECT_EQ(clock.elapsedMs(), 1000);
}

TEST(Clock, VirtualTimersSharingADeadlineEachFireOnce)
{
    VirtualClock clock;
    Log log;
    Timer a(clock, "a"), b(clock, "b");
    arm(a, 100, clock, log);
    arm(b, 100, clock, log);
    clock.advance(100);
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (Log{"a@100", "b@100"}));
}

TEST(Clock, VirtualTimeOfDayFollowsTheMovesAndNeverGoesBack)
{
    const QDateTime start(QDate(1999, 12, 31), QTime(23, 59, 59));
    VirtualClock clock(start);
    EXPECT_EQ(clock.now(), start);
    clock.advance(1500);
    clock.advance(-700);
    clock.sleep(-1);
    EXPECT_EQ(clock.elapsedMs(), 1500);
    EXPECT_EQ(clock.now(), start.addMSecs(1500));
}

TEST(Clock, VirtualWaitForEventsMovesToTheNextDeadline)
{
    VirtualClock clock;
    Log log;
    Timer late(clock, "late");
    arm(late, 500, clock, log, true);
    clock.waitForEvents();
    EXPECT_EQ(log, (Log{"late@500"}));
    EXPECT_EQ(clock.elapsedMs(), 500);
}

TEST(Clock, VirtualWaitInsideAHandlerDeliversOtherTimersInOrder)
{
    VirtualClock clock;
    Log log;
    Timer outer(clock, "outer"), inner(clock, "inner");
    arm(inner, 120, clock, log, true);
    outer.setInterval(100);
    outer.setEnabled(true);
    outer.onTimer([&] {
        outer.setEnabled(false);
        log.push_back(at("outer", clock));
        clock.sleep(50);
        log.push_back(at("outer-done", clock));
    });
    clock.advance(200);
    EXPECT_EQ(log, (Log{"outer@100", "inner@120", "outer-done@150"}));
    EXPECT_EQ(clock.elapsedMs(), 200);
}

TEST(Clock, DoEventsRunsWhatIsPostedOnBothClocks)
{
    VirtualClock virtualClock;
    RealClock realClock;
    for (Clock* clock : std::vector<Clock*>{&virtualClock, &realClock}) {
        bool ran = false;
        QMetaObject::invokeMethod(QCoreApplication::instance(), [&ran] { ran = true; }, Qt::QueuedConnection);
        clock->doEvents();
        EXPECT_TRUE(ran) << (clock->isVirtual() ? "virtual" : "real");
    }
}

TEST(Timer, RepeatsEveryIntervalWhenTheClockMovesInPieces)
{
    VirtualClock clock;
    Log log;
    Timer t(clock, "t");
    arm(t, 100, clock, log);
    clock.advance(250);
    clock.advance(50);
    clock.advance(99);
    EXPECT_EQ(log, (Log{"t@100", "t@200", "t@300"}));
    clock.advance(1);
    EXPECT_EQ(log.back(), "t@400");
}

TEST(Timer, RearmedInItsHandlerCountsFromThatFiringAndFiresOnce)
{
    VirtualClock clock;
    Log longer, toggled;
    Timer a(clock, "a"), b(clock, "b");
    arm(a, 100, clock, longer);
    arm(b, 100, clock, toggled);
    a.onTimer([&] {
        longer.push_back(at("a", clock));
        a.setInterval(250);
    });
    b.onTimer([&] {
        toggled.push_back(at("b", clock));
        b.setEnabled(false);
        b.setEnabled(true);
    });
    clock.advance(900);
    EXPECT_EQ(longer, (Log{"a@100", "a@350", "a@600", "a@850"}));
    EXPECT_EQ(toggled.size(), 9u);
    EXPECT_EQ(toggled.back(), "b@900");
}

TEST(Timer, ZeroIntervalNeverFires)
{
    VirtualClock clock;
    Log log;
    Timer t(clock, "t");
    arm(t, 0, clock, log);
    clock.advance(200000);
    // Nothing falls due: waiting for events must not move the clock either.
    clock.waitForEvents();
    EXPECT_TRUE(t.enabled());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(clock.elapsedMs(), 200000);
}

TEST(Timer, IntervalOutsideTheRangeIsRejectedAndTheOldOneKeepsCounting)
{
    VirtualClock clock;
    Log log;
    Timer t(clock, "t");
    arm(t, 100, clock, log);
    clock.advance(60);
    EXPECT_THROW(t.setInterval(65536), Failure);
    EXPECT_THROW(t.setInterval(-1), Failure);
    // Would be 100 if cut down to an int.
    EXPECT_THROW(t.setInterval((1LL << 32) + 100), Failure);
    EXPECT_EQ(t.interval(), 100);
    clock.advance(40);
    EXPECT_EQ(log, (Log{"t@100"}));
    EXPECT_NO_THROW(t.setInterval(65535));
    EXPECT_EQ(t.interval(), 65535);
}

TEST(Timer, DisablingStopsItAndRearmingCountsAgain)
{
    VirtualClock clock;
    Log log;
    Timer t(clock, "t");
    arm(t, 100, clock, log);
    clock.advance(160);
    t.setInterval(100);
    clock.advance(99);
    EXPECT_EQ(log, (Log{"t@100"}));
    clock.advance(1);
    t.setEnabled(false);
    clock.advance(1000);
    EXPECT_EQ(log, (Log{"t@100", "t@260"}));
    t.setEnabled(true);
    clock.advance(100);
    EXPECT_EQ(log.back(), "t@1360");
}

TEST(Timer, DestroyedByAnotherHandlerNeverFires)
{
    VirtualClock clock;
    Log log;
    Timer killer(clock, "killer");
    auto victim = std::make_unique<Timer>(clock, "victim");
    arm(*victim, 150, clock, log);
    arm(killer, 100, clock, log);
    killer.onTimer([&] {
        killer.setEnabled(false);
        log.push_back("killer");
        victim.reset();
    });
    clock.advance(500);
    EXPECT_EQ(log, (Log{"killer"}));
    EXPECT_EQ(clock.timers().size(), 1u);
}

TEST(Clock, RealSleepLetsADueTimerFireAndLastsAboutAsLong)
{
    RealClock clock;
    EXPECT_FALSE(clock.isVirtual());
    EXPECT_LT(std::abs(clock.now().msecsTo(QDateTime::currentDateTime())), 2000);
    Log log;
    Timer t(clock, "t");
    arm(t, 10, clock, log);
    QElapsedTimer watch;
    watch.start();
    const qint64 before = clock.elapsedMs();
    clock.sleep(50);
    // Timers round to the millisecond; a loaded machine may run late.
    EXPECT_GE(watch.elapsed(), 45);
    EXPECT_LT(watch.elapsed(), 2000);
    EXPECT_GE(clock.elapsedMs() - before, 45);
    EXPECT_FALSE(log.empty());
}

TEST(Clock, RealWaitInsideAHandlerStillDeliversOtherTimers)
{
    RealClock clock;
    Log log;
    Timer other(clock, "other");
    arm(other, 15, clock, log);
    Timer outer(clock, "outer");
    outer.setInterval(10);
    outer.setEnabled(true);
    std::size_t before = 0, after = 0;
    outer.onTimer([&] {
        outer.setEnabled(false);
        before = log.size();
        clock.sleep(100);
        after = log.size();
    });
    clock.sleep(300);
    EXPECT_GT(after, before);
}

TEST(Clock, RealTimerStopsWhenDisabledOrZeroed)
{
    RealClock clock;
    Log log;
    Timer t(clock, "t"), zero(clock, "zero");
    arm(t, 10, clock, log);
    arm(zero, 0, clock, log);
    clock.sleep(60);
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(std::none_of(log.begin(), log.end(), [](const std::string& e) { return e.rfind("zero", 0) == 0; }));
    t.setEnabled(false);
    const std::size_t fired = log.size();
    clock.sleep(60);
    EXPECT_EQ(log.size(), fired);
}

TEST(Clock, RealWaitForEventsReturnsOnceATimerFires)
{
    RealClock clock;
    Log log;
    Timer t(clock, "t");
    arm(t, 30, clock, log, true);
    // Wakes the wait should the timer never come.
    QTimer guard;
    guard.start(2100);
    QElapsedTimer watch;
    watch.start();
    while (log.empty() && watch.elapsed() < 2000)
        clock.waitForEvents();
    EXPECT_EQ(log.size(), 1u);
    EXPECT_GE(watch.elapsed(), 25);
}

TEST(Pause, ATimerDueInFiveSecondsFiresFiveSecondsOfPlayAfterAMinutesPause)
{
    VirtualClock clock(QDateTime(QDate(2026, 1, 1), QTime(10, 0)));
    Log log;
    Timer t(clock, "t");
    arm(t, 5000, clock, log, true);
    clock.advance(1000);
    clock.hold(true);
    clock.advance(60000);
    // Held, the clock and its time of day stand still and nothing falls due.
    EXPECT_EQ(clock.elapsedMs(), 1000);
    EXPECT_EQ(clock.now(), QDateTime(QDate(2026, 1, 1), QTime(10, 0, 1)));
    EXPECT_FALSE(clock.waitForEvents());
    EXPECT_TRUE(log.empty());
    clock.hold(false);
    clock.advance(3999);
    EXPECT_TRUE(log.empty());
    clock.advance(1);
    EXPECT_EQ(log, (Log{"t@5000"}));
}

TEST(Pause, ARealClockHeldHoldsItsTimersSleepsAndTimeOfDay)
{
    RealClock clock;
    Log log;
    Timer t(clock, "t");
    arm(t, 300, clock, log, true);
    QElapsedTimer wall;
    wall.start();
    // Held from 100 ms of play to 700 ms of wall time: the timer falls due
    // at 300 ms of play, 900 ms of wall time.
    QTimer::singleShot(100, [&clock] { clock.hold(true); });
    QTimer::singleShot(700, [&clock] { clock.hold(false); });
    clock.sleep(400);
    const qint64 sleptUntil = wall.elapsed();
    EXPECT_GE(sleptUntil, 950);
    EXPECT_EQ(log.size(), 1u);
    const qint64 played = clock.elapsedMs();
    EXPECT_GE(played, 400);
    EXPECT_LE(played, sleptUntil - 550);
    EXPECT_LE(std::abs(QDateTime::currentDateTime().msecsTo(clock.now()) + (sleptUntil - played)), 50);
}

TEST(Pause, APacerHeldTakesNoStepsAndDoesNotMakeThemUpAfterwards)
{
    RealClock clock;
    const std::unique_ptr<Clock::Pacer> pacer = clock.pacer(50);
    QElapsedTimer wall;
    wall.start();
    pacer->wait();
    clock.hold(true);
    QTimer::singleShot(400, [&clock] { clock.hold(false); });
    pacer->wait();
    EXPECT_GE(wall.elapsed(), 400);
    // The steps after the pause keep their pace from there.
    const qint64 resumed = wall.elapsed();
    for (int i = 0; i < 4; ++i)
        pacer->wait();
    EXPECT_GE(wall.elapsed() - resumed, 150);
}
