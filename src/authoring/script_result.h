#pragma once

#include <QString>
#include <QStringList>

namespace authoring {

// How one test script of a test run went.
struct ScriptResult {
    // The script's name (its file name without .test) and its file, as the
    // run names it: relative to the game folder when it lies there.
    QString name;
    QString file;
    double seconds = 0;
    // The expectations that did not hold: "line 12: expected frame Hall,
    // found frame Cellar".
    QStringList failures;
    // Why the script could not be played to its end: a line it could not
    // carry out, a crash, no end in time. Empty when it was.
    QString error;
    // What the player wrote on standard error.
    QString terminal;

    bool passed() const { return failures.isEmpty() && error.isEmpty(); }
};

} // namespace authoring
