#include "platform/window_picture.h"

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace platform {

QPixmap WindowPicture(QWidget& window)
{
    // A window made without updates paints its children only while they
    // are on; a part held on its own (a frame being built) stays held.
    const bool painting = window.updatesEnabled();
    if (!painting)
        window.setUpdatesEnabled(true);
    QPixmap picture = window.grab();
    if (!painting)
        window.setUpdatesEnabled(false);
    if (QWidget* popup = QApplication::activePopupWidget(); popup && popup->isVisible()) {
        QPainter painter(&picture);
        painter.drawPixmap(window.mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
    }
    return picture;
}

} // namespace platform
