#pragma once

#include <QPixmap>

class QWidget;

namespace platform {

// A window's picture as a person would see it: painted now, also in a run
// whose windows paint nothing for a screen nobody sees, with a menu that
// pops up over it drawn where it shows.
QPixmap WindowPicture(QWidget& window);

} // namespace platform
