#pragma once

#include <QString>

#include <functional>

namespace formats {
class QuotedFieldReader;
}

namespace state {

// A combination record ("<dragged>_on_<target>.drg" in the Areas folder).
struct CombinationRecord {
    bool removeDragged = false;
    bool removeTarget = false;
    bool addObject = false;
    QString newObject;
};

// The readers of the inventory's files, shared by the player and the game
// checker. Each throws base::Failure at the first field it cannot read.

// Field 1 of an object file ("<name>.obj"): its picture, relative to Areas.
QString ReadObjectPicture(formats::QuotedFieldReader& reader);
// The four fields of a combination record. `after` runs after fields 1 and
// 2 with the record read so far: the player removes objects there, before
// the next field is read.
CombinationRecord ReadCombinationRecord(formats::QuotedFieldReader& reader,
                                        const std::function<void(int field, const CombinationRecord&)>& after = {});

} // namespace state
