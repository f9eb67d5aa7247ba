#include "state/variables_list.h"

#include "formats/quoted_field_reader.h"

namespace state {

void ReadVariablesList(formats::QuotedFieldReader& reader, const std::function<void(const QString&)>& each)
{
    const std::int32_t count = reader.readInt32();
    for (std::int32_t i = 0; i < count; ++i)
        each(reader.readString());
}

} // namespace state
