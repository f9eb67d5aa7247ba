#pragma once

#include <QString>

namespace formats {
class QuotedFieldReader;
}

namespace run {
class InterfaceStrings;
struct Project;
}

namespace app {

class Runtime;

// Fills the interface strings from Config\Texts, or with the short set.
void LoadInterfaceStrings(Runtime& rt);
// Reads Config\General into the project globals, group by group; throws
// base::Failure when the file is missing or a field is bad (the globals
// read so far stay).
void ReadProjectSettings(Runtime& rt);

// The readers of those two files, shared by the player and the game checker:
// they throw base::Failure at the first field that cannot be read, and
// keep what was read before it.
void ReadInterfaceStrings(formats::QuotedFieldReader& reader, run::InterfaceStrings& strings);
void ReadProjectSettings(formats::QuotedFieldReader& reader, run::Project& project);

// The project's folders inside the game folder (Frames, Areas, Icons,
// Config, and Schemes and Inventory unless already set).
void SetProjectFolders(run::Project& project, const QString& projectDir);

} // namespace app
