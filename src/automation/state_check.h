#pragma once

#include <QJsonObject>
#include <QString>

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

} // namespace automation
