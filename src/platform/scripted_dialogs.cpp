#include "platform/scripted_dialogs.h"

#include <QJsonObject>

namespace platform {

namespace {

bool offers(MsgButtons buttons, MsgAnswer answer)
{
    switch (buttons) {
    case MsgButtons::Ok: return answer == MsgAnswer::Ok;
    case MsgButtons::OkCancel: return answer == MsgAnswer::Ok || answer == MsgAnswer::Cancel;
    case MsgButtons::YesNo: return answer == MsgAnswer::Yes || answer == MsgAnswer::No;
    }
    return false;
}

} // namespace

MsgAnswer ScriptedDialogs::show(const MsgBox& box)
{
    MsgAnswer answer = defaultAnswer(box);
    if (!m_answers.empty()) {
        const MsgAnswer queued = m_answers.front();
        m_answers.pop_front();
        if (offers(box.buttons, queued))
            answer = queued;
    }
    m_lastText = box.text;
    m_log.write(QJsonObject{
        {QStringLiteral("type"), QStringLiteral("msgbox")},
        {QStringLiteral("title"), box.title},
        {QStringLiteral("text"), box.text},
        {QStringLiteral("icon"), iconName(box.icon)},
        {QStringLiteral("buttons"), buttonsName(box.buttons)},
        {QStringLiteral("answer"), answerName(answer)},
    });
    return answer;
}

} // namespace platform
