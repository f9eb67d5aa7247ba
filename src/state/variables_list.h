#pragma once

#include <QString>

#include <functional>

namespace formats {
class QuotedFieldReader;
}

namespace state {

// Reads the variables list file (Config\Variables): a count, then that many
// names, each handed to `each` as soon as it is read. Shared by the player
// and the game checker; throws base::Failure at the first field it
// cannot read, after the names read before it.
void ReadVariablesList(formats::QuotedFieldReader& reader, const std::function<void(const QString&)>& each);

} // namespace state
