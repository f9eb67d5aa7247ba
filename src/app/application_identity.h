#pragma once

#include <QIcon>

namespace app {

// The menu entry the desktop offers the player under (its desktop file's
// name without ".desktop").
inline constexpr const char* kDesktopFileName = "io.github.loomplay.loomplay";

// The names the desktop knows the player's windows by, and their icon, set
// once the application object exists: the application name, which X11 window
// managers read as the windows' class and the menu entry names in its
// StartupWMClass line; the desktop file name, which Wayland compositors
// match; and the icon every window shows, also where no icon theme has it.
void SetApplicationIdentity();

// The player's icon at every size drawn for it.
QIcon ApplicationIcon();

} // namespace app
