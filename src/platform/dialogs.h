#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace platform {

enum class MsgIcon { None, Critical, Exclamation, Question, Information };
enum class MsgButtons { Ok, OkCancel, YesNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MsgBox {
    QString title;
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    // The button that Enter picks; by default the first one.
    std::optional<MsgAnswer> defaultButton;
};

// Every message box of the player goes through here: real modal boxes when a
// person plays, a scripted responder when a script or a test does.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual MsgAnswer show(const MsgBox& box) = 0;

    static MsgAnswer defaultAnswer(const MsgBox& box);
    static QString iconName(MsgIcon icon);
    static QString buttonsName(MsgButtons buttons);
    static QString answerName(MsgAnswer answer);
};

} // namespace platform
