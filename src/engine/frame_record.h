#pragma once

#include "formats/field_value.h"

#include <QString>

#include <cstdint>

namespace formats {
class QuotedFieldReader;
}

namespace run {
struct FrameHeader;
}

namespace engine {


// Fields 4 to 23 of a frame file, with the defaults of a file that ends early.
struct FrameFields {
    bool stopMidi = false;
    QString midiFile;
    bool hasTimer = false;
    formats::FieldValue timerDuration;
    QString timerTarget;
    QString videoFile;
    bool midiAfterVideo = false;
    bool silenceChannels = false;
    bool stopMp3 = false;
    QString mp3File;
    bool videoInRect = false;
    std::int16_t rectLeft = 0, rectTop = 0, rectWidth = 0, rectHeight = 0;
    bool repeatMidi = true;
};

// The readers of a frame's files, shared by the player and the game checker.
// Each throws base::Failure at the first field it cannot read.

// Fields 1 to 3 of the frame file: the background.
void ReadFrameBackground(formats::QuotedFieldReader& reader, run::FrameHeader& header);
// Fields 4 to 23, read after the first three.
void ReadFrameFields(formats::QuotedFieldReader& reader, FrameFields& fields);
// The links file: the number of areas of the frame.
std::int16_t ReadFrameLinks(formats::QuotedFieldReader& reader);
// The frame timer's interval in milliseconds from the duration field (in
// seconds, a number or the leading number of a text); throws Failure for a
// value no timer takes (below 0 or above 65535 ms).
long long FrameTimerInterval(const formats::FieldValue& duration);
// The timer target that means "go back to the previous frame".
bool IsLastVisitedFrame(const QString& target);

} // namespace engine
