#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

MsgAnswer QtDialogs::show(const MsgBox& box)
{
    QMessageBox dialog(QApplication::activeWindow());
    dialog.setWindowTitle(box.title);
    dialog.setText(box.text);
    switch (box.icon) {
    case MsgIcon::Critical: dialog.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Exclamation: dialog.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Question: dialog.setIcon(QMessageBox::Question); break;
    case MsgIcon::Information: dialog.setIcon(QMessageBox::Information); break;
    case MsgIcon::None: dialog.setIcon(QMessageBox::NoIcon); break;
    }
    auto toStandard = [](MsgAnswer a) {
        switch (a) {
        case MsgAnswer::Ok: return QMessageBox::Ok;
        case MsgAnswer::Cancel: return QMessageBox::Cancel;
        case MsgAnswer::Yes: return QMessageBox::Yes;
        case MsgAnswer::No: return QMessageBox::No;
        }
        return QMessageBox::Ok;
    };
    switch (box.buttons) {
    case MsgButtons::Ok: dialog.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: dialog.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    dialog.setDefaultButton(toStandard(defaultAnswer(box)));
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    switch (dialog.exec()) {
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Ok: return MsgAnswer::Ok;
    default:
        // Closing the box with its window button or Escape answers as the
        // system did: Cancel or No when offered, else OK.
        if (box.buttons == MsgButtons::OkCancel)
            return MsgAnswer::Cancel;
        if (box.buttons == MsgButtons::YesNo)
            return MsgAnswer::No;
        return MsgAnswer::Ok;
    }
}

} // namespace platform
