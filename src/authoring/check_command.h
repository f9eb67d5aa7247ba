#pragma once

#include <QString>

#include <cstdio>
#include <optional>

namespace authoring {

struct CheckOptions {
    QString gameDir;
    QString codePage = QStringLiteral("windows-1252");
    // One JSON object a line instead of one line of text a finding.
    bool json = false;
    // Also draw the frames as a graph into this file (.svg or .dot).
    QString mapFile;
    // The drive letters of a CD game from a mount table (none: this system's).
    std::optional<QString> mountTable;
};

// `loomplay --check`: checks the game, prints the findings on `out` and
// returns the exit status: 0 with no error, 1 with errors (warnings alone
// give 0), 2 when the folder is not a game or the map cannot be written
// (said on `err`).
int RunCheck(const CheckOptions& options, std::FILE* out = stdout, std::FILE* err = stderr);

} // namespace authoring
