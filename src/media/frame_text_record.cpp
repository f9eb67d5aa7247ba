#include "media/frame_text_record.h"

#include "base/failure.h"
#include "formats/quoted_field_reader.h"

#include <cmath>

namespace media {

namespace {

int toTwips(double v)
{
    if (!std::isfinite(v) || v < -2147483648.0 || v > 2147483647.0)
        throw base::Failure(base::Failure::Kind::Overflow, QStringLiteral("Overflow: text position"), QStringLiteral("text position"));
    return static_cast<int>(std::lround(v));
}

} // namespace

FrameTextRecord ReadFrameTextRecord(formats::QuotedFieldReader& reader)
{
    FrameTextRecord r;
    int field = 0;
    auto read = [&](auto& property, auto readValue) {
        ++field;
        try {
            property = readValue();
        } catch (base::Failure& e) {
            e.setPosition({e.position().file, field});
            r.failures.push_back(e);
        }
    };
    read(r.text, [&] { return reader.readString(); });
    read(r.left, [&] { return toTwips(reader.readSingle()); });
    read(r.top, [&] { return toTwips(reader.readSingle()); });
    read(r.bold, [&] { return reader.readBoolean(); });
    read(r.italic, [&] { return reader.readBoolean(); });
    read(r.fontName, [&] { return reader.readString(); });
    read(r.fontSize, [&] {
        const float size = reader.readSingle();
        if (!(size > 0) || size > 2048)
            throw base::Failure(base::Failure::Kind::BadValue, QStringLiteral("Invalid property value: font size"), QStringLiteral("font size"));
        return size;
    });
    read(r.strikeOut, [&] { return reader.readBoolean(); });
    read(r.underline, [&] { return reader.readBoolean(); });
    read(r.colour, [&] { return reader.readInt32(); });
    return r;
}

} // namespace media
