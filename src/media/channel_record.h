#pragma once

#include <QString>

#include <cstdint>
#include <functional>

namespace formats {
class QuotedFieldReader;
}

namespace media {

// One channel's record of a channel file: stop what the channel plays,
// play a wave (relative to the Areas folder), once or in a loop.
struct ChannelRecord {
    std::int32_t channel = 0;
    bool stop = false;
    bool play = false;
    QString wave;
    bool loop = false;
};

// Reads a channel file (".chn", "<area>d.dat"), shared by the player and the
// game checker: 22 ignored fields, then a record for each channel from 0 up
// to 7, each handed to `each` as soon as it is read. In single-sound mode
// only the first record counts and its stop field is not read. Throws
// base::Failure at the first field it cannot read.
void ReadChannelRecords(formats::QuotedFieldReader& reader, bool singleSoundMode,
                        const std::function<void(const ChannelRecord&)>& each);

} // namespace media
