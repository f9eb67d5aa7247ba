#pragma once

#include <QString>

namespace run {

class Context;

// The display as the games measure it, in pixels.
int GetScreenWidth(Context& rt);
int GetScreenHeight(Context& rt);
// Records the display size and tells whether it is the game's resolution.
bool IsAtGameResolution(Context& rt);
// False when the desktop's fonts are enlarged beyond 16 pixels (large fonts).
bool IsSmallFonts(Context& rt);
// The text of the welcome window's resolution line.
QString ResolutionLabelText(Context& rt);

// Presents the game's resolution when the display is not at it, then waits
// one second while events run.
void SwitchToGameResolution(Context& rt);
// Switches the presented display mode; a mode the player cannot present is
// reported.
void SetDisplayMode(Context& rt, int width, int height);
// Returns to the display size recorded before a switch, when the game
// switches displays and the display is not at that size.
void RestoreDisplayMode(Context& rt);

} // namespace run
