#include "engine/frame_record.h"

#include "base/failure.h"
#include "formats/quoted_field_reader.h"
#include "run/frame_header.h"

#include <cmath>

namespace engine {

void ReadFrameBackground(formats::QuotedFieldReader& reader, run::FrameHeader& h)
{
    h.FrameBackgroundMode = reader.readInt16();
    h.FrameBackground = reader.readString();
    h.FrameBackgroundTiled = reader.readBoolean();
}

void ReadFrameFields(formats::QuotedFieldReader& reader, FrameFields& f)
{
    f.stopMidi = reader.readBoolean();
    f.midiFile = reader.readString();
    f.hasTimer = reader.readBoolean();
    f.timerDuration = reader.readAny();
    f.timerTarget = reader.readString();
    f.videoFile = reader.readString();
    f.midiAfterVideo = reader.readBoolean();
    if (reader.atEnd())
        return;
    f.silenceChannels = reader.readBoolean();
    f.stopMp3 = reader.readBoolean();
    f.mp3File = reader.readString();
    if (reader.atEnd())
        return;
    reader.skip();
    reader.skip();
    reader.skip();
    reader.skip();
    f.videoInRect = reader.readBoolean();
    f.rectLeft = reader.readInt16();
    f.rectTop = reader.readInt16();
    f.rectWidth = reader.readInt16();
    f.rectHeight = reader.readInt16();
    if (reader.atEnd())
        return;
    f.repeatMidi = reader.readBoolean();
}

std::int16_t ReadFrameLinks(formats::QuotedFieldReader& reader)
{
    return reader.readInt16();
}

long long FrameTimerInterval(const formats::FieldValue& duration)
{
    const double seconds = duration.isString() ? formats::QuotedFieldReader::leadingNumber(duration.text) : duration.number;
    const double ms = std::nearbyint(seconds * 1000.0);
    if (!std::isfinite(ms) || ms < 0 || ms > 65535)
        throw base::Failure(QStringLiteral("Invalid timer interval %1").arg(ms));
    return static_cast<long long>(ms);
}

bool IsLastVisitedFrame(const QString& target)
{
    return target.toLower() == QLatin1String("[last visited frame]");
}

} // namespace engine
