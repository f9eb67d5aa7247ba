#pragma once

#include "base/code_page.h"
#include "state/class_variable.h"

#include <QByteArray>
#include <QDate>
#include <QStringList>

#include <vector>

namespace run {
class Context;
}
class QListWidget;

namespace saves {

// What a saved game holds: the frame, the variables, the removed areas, the
// inventory, the history, and lines that say whose save it is. One value a
// line, texts quoted, lines ended by CR LF, so the files move freely between
// this player and the one the games were first made for.
struct SavedGame {
    QString frame;
    std::vector<state::ClassVariable> variables;
    std::vector<state::ClassVariable> disappear;
    QStringList objects;
    QStringList history;
    QString projectKey;
    QString gameName;
    QDate date;

    static constexpr const char* kVersion = "Version 2.7.0";

    QByteArray bytes(const base::CodePage& codePage) const;
};

// The ten characters a save name may not hold: \ / : * ? " < > | and the comma.
bool HasForbiddenCharacter(const QString& name);
// A name that holds characters no file name may hold (control characters,
// or characters the game's code page cannot write). A name that is merely
// too long is left to the file system, whose refusal is a failed save.
bool UnfitForFileName(const QString& name, const base::CodePage& codePage);

// Whether one save name comes before another in a folder's listing: by
// name without regard to case, then exactly.
bool ListedBefore(const QString& a, const QString& b);
// The names of the saves of the game (run::SaveFolders: the game folder,
// and the player's own folder for a game whose folder takes no new files,
// a name once, the player's copy winning), oldest file first, saves of the
// same time in name order. Failures leave what was read.
std::vector<QString> SaveNames(run::Context& rt);
// Fills a list with those names.
void LoadSaveGames(run::Context& rt, QListWidget& list);

} // namespace saves
