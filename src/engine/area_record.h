#pragma once

#include "formats/field_value.h"

#include <QString>

#include <functional>
#include <optional>

namespace formats {
class QuotedFieldReader;
}

namespace engine {

// Fields 1 to 9 of an area file ("<index>a.dat"): the stored rectangle in
// twips, whether it is animated, whether it has a picture, the picture file
// (relative to the Areas folder), stretch and the cursor (relative to Icons).
struct AreaPlacement {
    formats::FieldValue left, top, width, height, animated, hasPictureField;
    QString picture;
    formats::FieldValue stretch;
    QString cursor;

    bool hasPicture() const { return hasPictureField.toNumber() == -1; }
    bool isAnimated() const { return hasPicture() && animated.toNumber() != 0; }
};

// The readers of an area's files, shared by the player and the game checker.
// Each throws base::Failure at the first field it cannot read.

AreaPlacement ReadAreaPlacement(formats::QuotedFieldReader& reader);
// Field 10, read after the placement: whether the condition lists follow.
bool ReadAreaHasConditions(formats::QuotedFieldReader& reader);
// One condition list: a count, then that many variable names, each handed
// to `each`, which returns false to stop reading there.
bool ReadConditionList(formats::QuotedFieldReader& reader, const std::function<bool(const QString&)>& each);
// Fields 1 and 2 of a pick record ("<index>c.dat"): the object's name when
// the area is an object to pick up, else nothing.
std::optional<QString> ReadPickedObjectName(formats::QuotedFieldReader& reader);
// The speed of an animated area: field 5 of its pick record, 50 when the
// record is shorter.
double ReadAnimationSpeed(formats::QuotedFieldReader& reader);

// Cursor names that stand for the project's default pointer.
bool IsDefaultCursorName(const QString& name);

} // namespace engine
