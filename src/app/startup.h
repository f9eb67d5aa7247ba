#pragma once

namespace app {

class Runtime;

// Fills the interface strings from Config\Texts, or with the short set.
void LoadInterfaceStrings(Runtime& rt);
// Reads Config\General into the project globals, group by group; throws
// platform::Failure when the file is missing or a field is bad (the globals
// read so far stay).
void ReadProjectSettings(Runtime& rt);

} // namespace app
