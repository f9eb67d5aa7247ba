#pragma once

#include <QString>

namespace app {

class Runtime;

// The display as the games measure it, in pixels.
int GetScreenWidth(Runtime& rt);
int GetScreenHeight(Runtime& rt);
// Records the display size and tells whether it is the game's resolution.
bool IsAtGameResolution(Runtime& rt);
// False when the desktop's fonts are enlarged beyond 16 pixels (large fonts).
bool IsSmallFonts(Runtime& rt);
// The text of the welcome window's resolution line.
QString ResolutionLabelText(Runtime& rt);

} // namespace app

namespace app {

// Presents the game's resolution when the display is not at it, then waits
// one second while events run.
void SwitchToGameResolution(Runtime& rt);
// Switches the presented display mode; a mode the player cannot present is
// reported.
void SetDisplayMode(Runtime& rt, int width, int height);
// Returns to the display size recorded before a switch, when the game
// switches displays and the display is not at that size.
void RestoreDisplayMode(Runtime& rt);

} // namespace app
