#pragma once

#include "app/recent_games.h"
#include "base/code_page.h"
#include "platform/dialogs.h"
#include "platform/form_window.h"
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <functional>
#include <memory>
#include <optional>

class QListWidget;

namespace app {

class OptionsWindow;

// The window that opens when the player is started without a game: the
// games played before (name and folder, newest first), a button to open
// another game folder, one to take a game off the list, and Play. A folder
// that is not a game is refused with a message naming what is missing; a
// game that is opened goes first on the list and is the chosen one. While
// the list is empty, a demo game (the one installed with the player) is
// offered with a button of its own.
class GameChooser {
    Q_DECLARE_TR_FUNCTIONS(app::GameChooser)

public:
    GameChooser(RecentGames& games, platform::Dialogs& dialogs, base::CodePage codePage, QString demoFolder = QString());
    ~GameChooser();

    platform::FormWindow& window() { return *m_window; }

    // Asks for the folder to open (the desktop's folder chooser unless a
    // test puts another here); the empty text when the person gives up.
    std::function<QString()> askFolder;
    // Whether the Options wait until they close (a person's chooser) or
    // return at once for a test to drive them.
    bool showsModally = true;

    // Shows the window and waits, without spinning, until a game is chosen
    // (its folder) or the window is closed (nothing).
    std::optional<QString> exec();
    const std::optional<QString>& chosen() const { return m_chosen; }

    // The list's line for a game.
    static QString itemText(const RecentGames::Game& game);

    // What the window's buttons do: Play (and a double-click on a game)
    // plays the game chosen in the list, Open a game folder asks for one,
    // Remove from list takes the chosen game off it, Play the demo game
    // opens the demo, Options... shows the options of the chosen game (the
    // defaults of every game when none is chosen).
    void playChosen();
    void playDemo();
    void openFolder();
    void removeChosen();
    void showOptions();
    // The Options window last shown, if any.
    OptionsWindow* options() const { return m_options.get(); }

    // Opens a game folder: false, after saying why, when it is not one.
    // The folder is taken by value: it may be one of the list's own, which
    // the list moves when the game goes first.
    bool openGame(QString folder);

private:
    void fillList();
    QListWidget* list() const;
    // The game of the list's current line, if any.
    const RecentGames::Game* chosenGame() const;

    RecentGames& m_games;
    platform::Dialogs& m_dialogs;
    base::CodePage m_codePage;
    QString m_demoFolder;
    std::unique_ptr<platform::FormWindow> m_window;
    std::unique_ptr<OptionsWindow> m_options;
    platform::SettingsStore m_store;
    std::optional<QString> m_chosen;
};

} // namespace app
