#pragma once

#include <QString>

#include <cstdint>

namespace run {

// The frame on screen: its name and background settings, and its area count.
struct FrameHeader {
    QString CurrentFrameName;
    std::int16_t FrameBackgroundMode = 0;
    QString FrameBackground;
    bool FrameBackgroundTiled = false;
    std::int16_t FrameAreaCount = 0;

    void ClearFrameHeader() { *this = FrameHeader(); }
};

} // namespace run
