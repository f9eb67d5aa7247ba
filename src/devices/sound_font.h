#pragma once

#include <QString>

namespace devices {

// Checks that a file is a soundfont for MIDI music before the synthesiser
// is given it: SF2 and SF3 files are RIFF files of the form type "sfbk".
// Throws Failure, naming the file and what is wrong with it.
void CheckSoundFont(const QString& file);

} // namespace devices
