#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace automation {

// The part of a dump that says where a play-through stands: the names of
// the windows shown ("shown"), and of the game the frame, the frames
// visited, the variables, the removed areas and the inventory, and the
// saved games. A recording ends with it in an expect line.
QJsonObject EndState(const QJsonObject& dump);

// The first member of expected that the dump does not hold as it is, as
// "game.frame is \"Hall\", expected \"Cellar\""; empty when it holds them
// all. Objects are compared member by member, so expected names only what
// it checks; other values must be equal. Besides the dump's own members,
// "shown" lists the windows shown, so that a window never loaded counts as
// one not shown.
QString StateDifference(const QJsonObject& expected, const QJsonObject& dump);

// The value of a name in a dump's list of [name, value] pairs (variables,
// removed areas), names compared without case.
std::optional<QJsonValue> PairValue(const QJsonArray& pairs, const QString& name);
// A dump's value as an expect line writes it: numbers in full, True/False.
QString ValueText(const QJsonValue& value);
// The file name of the MIDI or MP3 piece a dump's media play; empty for
// silence.
QString PlayingMusic(const QJsonObject& dump);

// The expect lines in words that hold in the state of a dump: the frame,
// the inventory, the variables a new game does not start with (every one
// starts at 0), the removed areas, and the music or silence. A recording
// ends with them, so that it replays as a test an author can read and edit.
QStringList EndExpectations(const QJsonObject& dump);

} // namespace automation
