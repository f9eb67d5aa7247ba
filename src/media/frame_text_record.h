#pragma once

#include "base/failure.h"
#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace formats {
class QuotedFieldReader;
}

namespace media {

// A frame text file (".lbl"): each field stands on its own, so a field that
// cannot be read leaves that property unset and the next one is still read.
struct FrameTextRecord {
    std::optional<QString> text;
    std::optional<int> left, top; // twips
    std::optional<bool> bold, italic;
    std::optional<QString> fontName;
    std::optional<float> fontSize;
    std::optional<bool> strikeOut, underline;
    std::optional<std::int32_t> colour; // a Windows colour value
    // Why the fields that could not be read failed, each at its field
    // (from 1).
    std::vector<base::Failure> failures;
};

// Shared by the player and the game checker; never throws.
FrameTextRecord ReadFrameTextRecord(formats::QuotedFieldReader& reader);

} // namespace media
