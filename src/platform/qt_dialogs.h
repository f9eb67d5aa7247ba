#pragma once

#include "platform/dialogs.h"

namespace platform {

// Modal QMessageBox dialogs for interactive play.
class QtDialogs : public Dialogs {
public:
    MsgAnswer show(const MsgBox& box) override;
};

} // namespace platform
