#pragma once

#include <QJsonObject>
#include <QString>

namespace authoring {

// One thing the game checker found: the file (relative to the game folder,
// '/' between folders), where in it (a field, an area, a record), and what
// is wrong, in words a game author reads. Errors are what the player trips
// over; warnings are what it lets pass but an author rarely means.
struct Finding {
    enum class Severity { Error, Warning };

    QString file;
    QString where;
    Severity severity = Severity::Error;
    QString message;

    bool isError() const { return severity == Severity::Error; }
    // "Areas/Hall/3b.dat: field 13 opens the frame ..." with "warning: "
    // after the file name for a warning.
    QString line() const;
    // {"file","where","severity","message"}
    QJsonObject json() const;
};

} // namespace authoring
