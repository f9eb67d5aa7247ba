#pragma once

#include "platform/settings_store.h"

#include <QString>

#include <vector>

namespace app {

// The games played before, newest first, kept in the player's own settings
// (loomplay/loomplay.ini of the settings store, in the per-user
// configuration folder XDG_CONFIG_HOME), beside the games' own per-user
// settings.
class RecentGames {
public:
    struct Game {
        QString folder;
        // From the game's settings when it was last played.
        QString name;
        bool operator==(const Game&) const = default;
    };

    // The list keeps no more than this many games; the oldest go.
    static constexpr int kMost = 20;

    // Reads the list from the settings.
    RecentGames();

    const std::vector<Game>& games() const { return m_games; }

    // Puts a game first, moving it there when it is already listed; the
    // list is written at once. Throws base::Failure when the settings
    // cannot be written.
    void add(const QString& folder, const QString& name);
    // Takes a game off the list (nothing when it is not listed). Throws
    // base::Failure when the settings cannot be written.
    void remove(const QString& folder);

    // The form of a folder under which the list keeps it.
    static QString key(const QString& folder);

private:
    void save();

    platform::SettingsStore m_store;
    std::vector<Game> m_games;
};

} // namespace app
