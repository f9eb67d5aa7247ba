#pragma once

#include "base/event_log.h"
#include "platform/dialogs.h"

#include <QString>

#include <deque>

namespace platform {

// Answers message boxes from a queue (script lines "answer ...") and logs
// every box as a "msgbox" line. A box with no queued answer takes its
// default button; an answer the box does not offer is taken as the default.
class ScriptedDialogs : public Dialogs {
public:
    explicit ScriptedDialogs(base::EventLog& log) : m_log(log) {}

    void queue(MsgAnswer answer) { m_answers.push_back(answer); }
    MsgAnswer show(const MsgBox& box) override;
    // The text of the last box shown; empty before the first. Kept here,
    // since a run's log passes its lines on without keeping them.
    const QString& lastText() const { return m_lastText; }

private:
    base::EventLog& m_log;
    std::deque<MsgAnswer> m_answers;
    QString m_lastText;
};

} // namespace platform
