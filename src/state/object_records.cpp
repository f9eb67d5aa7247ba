#include "state/object_records.h"

#include "formats/quoted_field_reader.h"

namespace state {

QString ReadObjectPicture(formats::QuotedFieldReader& reader)
{
    return reader.readAny().toText();
}

CombinationRecord ReadCombinationRecord(formats::QuotedFieldReader& reader,
                                        const std::function<void(int field, const CombinationRecord&)>& after)
{
    CombinationRecord c;
    c.removeDragged = reader.readAny().toNumber() == 1;
    if (after)
        after(1, c);
    c.removeTarget = reader.readAny().toNumber() == 1;
    if (after)
        after(2, c);
    c.addObject = reader.readAny().toNumber() == 1;
    c.newObject = reader.readAny().toText();
    return c;
}

} // namespace state
