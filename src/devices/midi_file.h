#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace devices {

// What the player needs to know of a Standard MIDI File before it plays it.
struct MidiPiece {
    // When the last event of any track happens (End of Track included, as
    // that is where a sequencer stops), by the file's own tempo map.
    qint64 lengthMs = 0;
    int tracks = 0;
    int format = 0;
    // The file as a synthesiser is given it: the same bytes, or, when its
    // tracks hold system bytes that belong on a cable and not in a file
    // (F1 to F6, F8 to FE), a copy without them, their time kept.
    QByteArray playable;
    // How many such bytes were left out.
    int strayEvents = 0;
};

// Reads a Standard MIDI File (format 0, 1 or 2). Formats 0 and 1 share one
// tempo map made of the tempo changes of all tracks; in format 2 every track
// is a sequence of its own, timed by its own tempo changes, and the piece
// lasts as long as its longest sequence. Stray system bytes in a track are
// skipped, as tolerant sequencers do. Throws Failure on a file that is not
// MIDI, is cut short or holds events that cannot be read.
MidiPiece ReadMidiPiece(const QByteArray& bytes);

} // namespace devices
