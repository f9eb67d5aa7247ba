#pragma once

#include "formats/field_value.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace formats {
class QuotedFieldReader;
}

namespace state {

// The fields of an action record ("<area>b.dat", "<area>_<object>.drg"),
// with the values of a record that ends early. Names say what a field asks
// for; "value" fields keep what the file holds (number, Boolean or text).
struct ActionRecord {
    std::int16_t variableSwitch = 0;
    QString variable;
    formats::FieldValue setToZero, setToOne, toggle;
    formats::FieldValue showMessage, message;
    std::int16_t playSound = 0;
    QString soundFile;
    formats::FieldValue remove, endGame;
    std::int16_t openFrame = 0;
    QString frame;
    std::int16_t stopMidi = 0, stopSounds = 0, playVideo = 0;
    QString videoFile;
    bool videoInRect = false;
    std::int16_t rectLeft = 0, rectTop = 0, rectWidth = 0, rectHeight = 0;
    formats::FieldValue stopMp3, playMidi, midiFile, playMp3, mp3File, goBack, messageInStrip;
    std::int16_t listsSwitch = 0;
    bool repeatMidi = true;
};

// Where the reader of an action record stops for its caller: the player
// carries out each change as soon as its fields are read, so a record
// garbled further on leaves the earlier changes done.
struct ActionStep {
    enum Kind {
        Variable,   // fields 1 to 5 read
        Removal,    // fields 6 to 10 read
        EndGame,    // field 11 read; returning false ends the reading there
        StopMidi,   // field 14 read
        StopSounds, // field 15 read
        ListName,   // one name of the variable lists (field 41)
    };
    Kind kind;
    QString name;            // ListName: the variable
    std::int16_t change = 0; // ListName: 0, 1 or -1 (toggle)
};

// Reads an action record field by field, shared by the player and the game
// checker; throws base::Failure at the first field it cannot read.
// `step` may be empty; it returns false to stop the reading.
void ReadActionRecord(formats::QuotedFieldReader& reader, ActionRecord& record,
                      const std::function<bool(const ActionStep&, const ActionRecord&)>& step = {});

} // namespace state
