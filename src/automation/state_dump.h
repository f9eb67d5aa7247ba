#pragma once

#include <QJsonObject>

namespace app {
class Runtime;
}

namespace automation {

// The state of a run as one JSON object ("type":"dump"): the loaded windows
// and their elements, the game state, what media plays, the project globals.
QJsonObject StateDump(app::Runtime& rt, const QString& activeWindow);

} // namespace automation
