#pragma once

#include "support/game_folder.h"

#include <QStringList>

#include <array>
#include <map>

namespace testsupport {

// An area action record as the authoring tool writes it: 42 fields (field 41
// being three name lists), or only the first `length` fields of an older file.
struct ActionRecord {
    std::map<int, Field> fields;
    std::array<QStringList, 3> lists; // set to 0, set to 1, toggle
    int length = 42;

    ActionRecord& set(int number, Field value)
    {
        fields[number] = std::move(value);
        return *this;
    }
    QByteArray bytes() const;
};

} // namespace testsupport
