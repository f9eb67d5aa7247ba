#pragma once

#include "devices/volumes.h"
#include "platform/scaling.h"
#include "platform/settings_store.h"

#include <QString>

#include <functional>
#include <optional>

namespace run {
struct RuntimeOptions;
}

namespace app {

// The options a player sets for how games play here: the display and its
// scaling, the volumes, the soundfont, the code page of the game's text,
// speech and the focus ring. They are kept in the player's own settings as
// defaults for every game and, for a game given its own, as that game's;
// what the command line says wins over both.
struct PlayerOptions {
    bool fullScreen = true;
    platform::Scaling scaling = platform::Scaling::Smooth;
    devices::Volumes volumes;
    // Empty: the General MIDI soundfont Debian installs.
    QString soundFont;
    QString codePage = QStringLiteral("windows-1252");
    bool speech = false;
    bool focusRing = true;

    bool operator==(const PlayerOptions&) const = default;

    // The defaults for every game: the program's own, changed by what the
    // player stored. Values the store holds but the player cannot have
    // written (an unknown scaling, a volume of 300) are left at the
    // program's own.
    static PlayerOptions defaults(const platform::SettingsStore& store);
    // A game's: its own when the player gave it some, else the defaults.
    static PlayerOptions forGame(const platform::SettingsStore& store, const QString& folder);
    // Whether the game has options of its own.
    static bool hasOwn(const platform::SettingsStore& store, const QString& folder);

    // Each throws base::Failure when the settings cannot be written.
    void saveAsDefaults(platform::SettingsStore& store) const;
    void saveForGame(platform::SettingsStore& store, const QString& folder) const;
    // The game follows the defaults again.
    static void forgetGame(platform::SettingsStore& store, const QString& folder);

    // Puts these options into a run's, except those the command line gave
    // (given answers by option name, as `windowed` or `codepage`).
    void applyTo(run::RuntimeOptions& options, const std::function<bool(const QString& option)>& given) const;

    // The words the settings keep and the command line takes for a scaling.
    static QString scalingName(platform::Scaling scaling);
    static std::optional<platform::Scaling> scalingNamed(const QString& name);
};

} // namespace app
