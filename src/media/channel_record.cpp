#include "media/channel_record.h"

#include "base/failure.h"
#include "formats/quoted_field_reader.h"

namespace media {

namespace {

// A channel record's flag holds only when it is the Boolean true: the
// number 1 is not true. Text that is a number compares as that number;
// any other text is no flag at all, and fails the channel file.
bool isTrue(const formats::FieldValue& value)
{
    if (!value.isString())
        return value.number == -1;
    bool isNumber = false;
    const double number = value.text.trimmed().toDouble(&isNumber);
    if (!isNumber)
        throw base::Failure(base::Failure::Kind::TypeMismatch,
                            QStringLiteral("Type mismatch: '%1' is not a Boolean").arg(value.text.left(40)), QStringLiteral("Boolean"),
                            value.text.left(40));
    return number == -1;
}

} // namespace

void ReadChannelRecords(formats::QuotedFieldReader& reader, bool singleSoundMode,
                        const std::function<void(const ChannelRecord&)>& each)
{
    for (int k = 0; k < 22; ++k)
        reader.skip();
    if (singleSoundMode) {
        reader.skip();
        reader.skip();
        ChannelRecord record;
        record.play = isTrue(reader.readAny());
        record.wave = reader.readString();
        reader.readAny();
        each(record);
        return;
    }
    for (std::int32_t c = 0; c <= 7; ++c) {
        reader.skip();
        ChannelRecord record;
        record.channel = c;
        record.stop = isTrue(reader.readAny());
        record.play = isTrue(reader.readAny());
        record.wave = reader.readString();
        record.loop = reader.readAny().toNumber() != 0;
        each(record);
        if (reader.atEnd())
            break;
    }
}

} // namespace media
