#pragma once

namespace platform {

// How the game picture is scaled to a window or screen of another size; its
// aspect is kept always. Smooth: filtered, to fill the space. Sharp: the
// nearest pixel, to fill it. Whole steps: the nearest pixel at the largest
// whole multiple that fits (a picture larger than the space shrinks as
// Sharp does), the rest left as bars.
enum class Scaling { Smooth, Sharp, WholeSteps };

} // namespace platform
