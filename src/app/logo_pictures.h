#pragma once

#include <QImage>

namespace app {

// The four pictures of the welcome window's logo (variant 0 or 1, plain or
// alternate), drawn by the player itself.
QImage LogoPicture(int k);

} // namespace app
