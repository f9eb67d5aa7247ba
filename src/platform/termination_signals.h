#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

// Turns SIGINT, SIGTERM and SIGHUP (Ctrl+C in a terminal, `kill`, `timeout`,
// the end of a desktop session or of the terminal) into a call on the
// window's thread, where the player can end as its own Exit does: media
// closed, the display restored, no file half-written. The handler only
// writes the signal's number into a pipe; the window's event loop reads it.
// The first signal also puts the default action back, so a second one ends
// a player that is stuck at once.
class TerminationSignals {
public:
    // Only one may exist at a time: signal handlers are per process.
    explicit TerminationSignals(std::function<void(int signal)> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // The signal that arrived, 0 while none has.
    int received() const { return m_received; }
    // The exit status of a program ended by the signal, as a shell reports it.
    static int exitStatusFor(int signal) { return 128 + signal; }

private:
    void readSignal();

    std::function<void(int)> m_onSignal;
    int m_pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
    int m_received = 0;
};

} // namespace platform
