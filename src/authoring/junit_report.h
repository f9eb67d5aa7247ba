#pragma once

#include "authoring/script_result.h"

#include <QDateTime>
#include <QString>

#include <vector>

class QIODevice;

namespace authoring {

// Writes the results of a test run as the JUnit XML report CI systems read:
// one testsuite named after the game, one testcase a script, a failure
// element holding the expectations that did not hold, an error element for
// a script that could not be played to its end. False when the device
// could not take it all.
bool WriteJunitReport(QIODevice& to, const QString& suite, const QDateTime& started, const std::vector<ScriptResult>& results);

} // namespace authoring
