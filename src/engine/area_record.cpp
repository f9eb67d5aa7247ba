#include "engine/area_record.h"

#include "formats/quoted_field_reader.h"

namespace engine {

AreaPlacement ReadAreaPlacement(formats::QuotedFieldReader& reader)
{
    AreaPlacement a;
    a.left = reader.readAny();
    a.top = reader.readAny();
    a.width = reader.readAny();
    a.height = reader.readAny();
    a.animated = reader.readAny();
    a.hasPictureField = reader.readAny();
    a.picture = reader.readAny().toText();
    a.stretch = reader.readAny();
    a.cursor = reader.readAny().toText();
    return a;
}

bool ReadAreaHasConditions(formats::QuotedFieldReader& reader)
{
    return reader.readAny().toNumber() != 0;
}

bool ReadConditionList(formats::QuotedFieldReader& reader, const std::function<bool(const QString&)>& each)
{
    const double n = reader.readAny().toNumber();
    for (double k = 0; k < n; ++k) {
        if (!each(reader.readAny().toText()))
            return false;
    }
    return true;
}

std::optional<QString> ReadPickedObjectName(formats::QuotedFieldReader& reader)
{
    if (reader.readAny().toNumber() == 1)
        return reader.readAny().toText();
    return std::nullopt;
}

double ReadAnimationSpeed(formats::QuotedFieldReader& reader)
{
    for (int k = 0; k < 4 && !reader.atEnd(); ++k)
        reader.skip();
    if (reader.atEnd())
        return 50;
    const formats::FieldValue v = reader.readAny();
    return v.isString() ? formats::QuotedFieldReader::leadingNumber(v.text) : v.number;
}

bool IsDefaultCursorName(const QString& name)
{
    return name.isEmpty() || name.toLower() == QLatin1String("default");
}

} // namespace engine
