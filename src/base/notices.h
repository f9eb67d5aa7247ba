#pragma once

#include "base/event_log.h"

#include <QSet>
#include <QString>

#include <functional>
#include <mutex>

namespace base {

// What the player tells the person who started it, beside the game: once
// each, the conditions it works around (no audio device, no soundfont, a
// video it skips); and when asked to be verbose, each frame it opens and
// each media file it plays. A scripted run's notices are lines of its log;
// everything else goes to the terminal, with the program's name in front.
class Notices {
public:
    using Sink = std::function<void(const QString& line)>;

    explicit Notices(EventLog& log);

    // Where terminal lines go (standard error unless told otherwise).
    void setSink(Sink sink) { m_sink = std::move(sink); }
    void setVerbose(bool verbose) { m_verbose = verbose; }
    bool verbose() const { return m_verbose; }

    // A condition the player works around; a text already told is not told again.
    void notice(const QString& text);
    // What the player does, told only when verbose.
    void detail(const QString& text);
    // What the player did for the person watching, told every time (a
    // frame opened again after its files changed).
    void tell(const QString& text);

private:
    // Into the log or to the terminal; the lock is held.
    void send(const QString& text);
    void toTerminal(const QString& text);

    EventLog& m_log;
    Sink m_sink;
    bool m_verbose = false;
    // The audio device may tell from a media worker's thread.
    std::mutex m_mutex;
    QSet<QString> m_told;
};

} // namespace base
