#pragma once

#include <QString>
#include <QStringList>

namespace run {

class Context;

// Where a game's saved games and its CD drive file are kept. A game folder
// that takes new files keeps them, as the games always did. One that does
// not (a system-wide install, a read-only medium) leaves them to a folder of
// the player's own for that game, PLAYER_DATA/saves/KEY/, named after the
// game's key; that folder is read first, so the player's copy of a name wins
// over the game folder's. The game folder is tried once, when this is made.
class SaveFolders {
public:
    explicit SaveFolders(Context& rt);

    bool gameFolderWritable() const { return m_gameWritable; }
    // The player's own folder for this game (ending in '/'); empty when the
    // run has no folder of the player's own.
    const QString& ownFolder() const { return m_own; }

    // The folders to read from, the one whose files win first.
    QStringList readFolders() const;
    // The folder new files go to: the game folder, or the player's own when
    // the game folder takes none and the player has one.
    QString writeFolder() const;
    // The path of the file with this name in the first folder that holds
    // it, else in the folder written to.
    QString pathOf(const QString& fileName) const;
    // Makes the folder written to when it is the player's own; throws
    // base::Failure when it cannot be made.
    void makeWriteFolder() const;

    // The folder name a game key gives: characters no folder name may hold
    // become '_', and a key of no name at all "_".
    static QString folderNameOf(const QString& key);

private:
    Context& m_rt;
    bool m_gameWritable = true;
    QString m_own;
};

} // namespace run
