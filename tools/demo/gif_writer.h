#pragma once

#include <QByteArray>
#include <QImage>

#include <vector>

namespace demo {

// Encodes frames as a looping animated GIF (Qt reads GIFs but cannot write
// them); one frame makes a still picture. Colours are mapped to a fixed
// 6 x 6 x 6 palette, pixels less than half opaque become transparent; the LZW stream
// restarts its table often enough to keep every code 9 bits wide, which is
// simple and valid, if not small.
QByteArray EncodeAnimatedGif(const std::vector<QImage>& frames, int delayHundredths);

} // namespace demo
