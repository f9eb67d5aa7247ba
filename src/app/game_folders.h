#pragma once

#include "base/code_page.h"

#include <QString>

namespace app {

class Translations;

// Whether a folder can be played, as a person starting the player hears it:
// the empty text for a game folder (one that holds Config/General, names
// matched without regard to letter case), else why it is not one, naming
// what is missing. A game that runs from CD keeps its other folders on the
// disc, so the settings file is all a game folder must hold.
// Said in the language of words, or the application's without them.
QString WhyNotAGame(const QString& folder, const Translations* words = nullptr);

// The game's name from its settings file; empty when the file cannot be read.
QString ReadGameName(const QString& folder, const base::CodePage& codePage);

} // namespace app
