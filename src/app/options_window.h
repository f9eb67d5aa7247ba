#pragma once

#include "app/player_options.h"
#include "platform/dialogs.h"
#include "platform/form_window.h"
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace app {

// The player's Options window: the display, the volumes, the soundfont, the
// code page, speech and the focus ring, for one game or as the defaults of
// every game. It keeps what it is given in the player's settings and tells
// its owner what was chosen; what a choice changes in a game that plays is
// the owner's to do.
class OptionsWindow {
    Q_DECLARE_TR_FUNCTIONS(app::OptionsWindow)

public:
    // For the game in folder (named name), or, with no folder, for the
    // defaults alone.
    OptionsWindow(platform::SettingsStore& store, platform::Dialogs& dialogs, QString folder = QString(), QString name = QString());
    ~OptionsWindow();
    OptionsWindow(const OptionsWindow&) = delete;
    OptionsWindow& operator=(const OptionsWindow&) = delete;

    platform::FormWindow& window() { return *m_window; }

    // Runs once the window has closed: with the options kept (OK), or with
    // nothing (Cancel, Escape, the close box).
    std::function<void(const std::optional<PlayerOptions>& kept)> onClosed;
    // Asks for a soundfont file, the one shown first; empty: none chosen.
    std::function<QString(const QString& shown)> askSoundFont;

    // The options as the window shows them now.
    PlayerOptions shown() const;
    void show(const PlayerOptions& options);
    // Whether OK keeps them for the game alone (else as the defaults).
    bool forThisGame() const;

    // The named handlers of the window's controls.
    void settingsForChanged();
    void restoreDefaults();
    void chooseSoundFont();
    void accept();
    void cancel();

private:
    void close(const std::optional<PlayerOptions>& kept);

    platform::SettingsStore& m_store;
    platform::Dialogs& m_dialogs;
    QString m_folder;
    std::unique_ptr<platform::FormWindow> m_window;
    bool m_closed = false;
};

} // namespace app
