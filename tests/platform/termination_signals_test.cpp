#include "platform/termination_signals.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

void (*handlerOf(int signal))(int)
{
    struct sigaction now = {};
    ::sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

// Runs the window thread's events until the condition holds or a second passes.
template <typename Condition>
bool settle(Condition condition)
{
    QElapsedTimer since;
    since.start();
    while (!condition() && since.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return condition();
}

} // namespace

TEST(TerminationSignals, TheFirstSignalReachesTheWindowThreadAndASecondWouldEndAtOnce)
{
    std::vector<int> told;
    {
        const platform::TerminationSignals termination([&told](int signal) { told.push_back(signal); });
        EXPECT_NE(handlerOf(SIGTERM), SIG_DFL);
        EXPECT_NE(handlerOf(SIGINT), SIG_DFL);
        ASSERT_EQ(::raise(SIGTERM), 0);
        // Nothing runs inside the handler itself.
        EXPECT_TRUE(told.empty());
        ASSERT_TRUE(settle([&] { return !told.empty(); }));
        EXPECT_EQ(told, std::vector<int>{SIGTERM});
        EXPECT_EQ(termination.received(), SIGTERM);
        EXPECT_EQ(platform::TerminationSignals::exitStatusFor(termination.received()), 143);
        EXPECT_EQ(handlerOf(SIGTERM), SIG_DFL);
        // A Ctrl+C after it repeats the request: it is not told twice.
        ASSERT_EQ(::raise(SIGINT), 0);
        settle([] { return false; });
        EXPECT_EQ(told, std::vector<int>{SIGTERM});
    }
    EXPECT_EQ(handlerOf(SIGINT), SIG_DFL);
    EXPECT_EQ(handlerOf(SIGHUP), SIG_DFL);
}
