#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <variant>
#include <vector>

namespace demo {

// Data files as the authoring tool writes them, for the demo generator and
// for the tests' game folders.

// An area file: the stored rectangle (twips), animated, picture, stretch,
// cursor, then the names that must be 0 and the names that must be 1.
QByteArray AreaFile(int left, int top, int width, int height, bool animated, const QString& picture, bool stretch,
                    const QString& cursor, const QStringList& zeroList = {}, const QStringList& oneList = {});

// An action record: 42 fields (field 41 being three name lists: set to 0,
// set to 1, toggle), or only the first `length` fields of an older file.
// Fields not given are empty (0 or ""), field 42 true.
struct ActionRecord {
    using Value = std::variant<int, bool, QString>;

    std::map<int, Value> fields;
    std::array<QStringList, 3> lists;
    int length = 42;

    ActionRecord& set(int number, Value value)
    {
        fields[number] = std::move(value);
        return *this;
    }
    ActionRecord& set(int number, const char* text) { return set(number, Value(QString::fromUtf8(text))); }
    QByteArray bytes() const;
};

// A cursor file: the picture saved as an icon whose header is turned into a
// cursor's, with its hot spot.
QByteArray CursorFile(const QImage& picture, int hotX, int hotY);

// A mono 16-bit PCM wave of the samples.
QByteArray WavFile(const std::vector<qint16>& samples, int rate = 22050);
// A tone of the length given, loud enough to hear.
std::vector<qint16> Tone(int milliseconds, double hertz = 440, int rate = 22050);

// A Standard MIDI File of one track playing the notes one after another,
// each a beat long, at the tempo given (microseconds a beat, 480 ticks a
// beat), with the instrument given.
QByteArray MidiFile(const std::vector<int>& notes, int microsPerBeat = 500000, int program = 0);

// A channel file: 22 ignored fields, then a record for each channel from 0:
// ignored, stop, play, wave file (relative to the Areas folder), loop.
struct ChannelRecord {
    bool stop = false;
    bool play = true;
    QString wave;
    int loop = 0;
};
QByteArray ChannelFile(const std::vector<ChannelRecord>& records);

} // namespace demo
