#include "platform/dialogs.h"

namespace platform {

MsgAnswer Dialogs::defaultAnswer(const MsgBox& box)
{
    if (box.defaultButton)
        return *box.defaultButton;
    switch (box.buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
        return MsgAnswer::Ok;
    case MsgButtons::YesNo:
        return MsgAnswer::Yes;
    }
    return MsgAnswer::Ok;
}

QString Dialogs::iconName(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Critical: return QStringLiteral("critical");
    case MsgIcon::Exclamation: return QStringLiteral("exclamation");
    case MsgIcon::Question: return QStringLiteral("question");
    case MsgIcon::Information: return QStringLiteral("information");
    case MsgIcon::None: break;
    }
    return QStringLiteral("none");
}

QString Dialogs::buttonsName(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return QStringLiteral("ok");
    case MsgButtons::OkCancel: return QStringLiteral("okcancel");
    case MsgButtons::YesNo: return QStringLiteral("yesno");
    }
    return QStringLiteral("ok");
}

QString Dialogs::answerName(MsgAnswer answer)
{
    switch (answer) {
    case MsgAnswer::Ok: return QStringLiteral("ok");
    case MsgAnswer::Cancel: return QStringLiteral("cancel");
    case MsgAnswer::Yes: return QStringLiteral("yes");
    case MsgAnswer::No: return QStringLiteral("no");
    }
    return QStringLiteral("ok");
}

} // namespace platform
