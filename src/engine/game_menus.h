#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace platform {
class SceneWindow;
}

namespace engine {

// A menu item of the game window: hidden until the player asks for the menus.
struct MenuItem {
    QString caption;
    bool visible = false;
};

// The game window's menu bar: Exit, Save game and, for game authors started
// with --debug, a Debug menu listing the frames. The bar lies over the top of
// the window, so the game picture never moves when it appears.
class GameMenus {
public:
    GameMenus(platform::SceneWindow& window, bool debugOffered);

    MenuItem mnuExit{QStringLiteral("Exit")};
    MenuItem mnuSaveGame{QStringLiteral("Save game")};
    MenuItem mnuDebug{QStringLiteral("Debug")};
    // The frames listed under the Debug menu.
    QStringList mnuFrameName;

    std::function<void()> onExit;
    std::function<void()> onSaveGame;
    std::function<void(const QString& frame)> onFrame;
    // The Debug menu's State item: the window of the game's state, which an
    // author's run provides.
    std::function<void()> onState;

    bool open() const { return mnuExit.visible; }
    bool debugOffered() const { return m_debugOffered; }
    void ShowMenus(bool hideSaveMenu);
    void HideMenus();
    void setFrames(const QStringList& frames);
    // Applies captions and visibility to the bar.
    void sync();

    // A person's or a script's choice of an item: the window's input
    // observer hears of it, then the handler runs.
    void chooseExit();
    void chooseSaveGame();
    // The frame item of the Debug menu, from 1.
    void chooseFrame(int index);
    // The Debug menu's State item; it changes nothing of the game, so no
    // recording hears of it.
    void chooseState();

private:
    void choose(const QString& item, const std::function<void()>& handler);

    platform::SceneWindow& m_window;
    QMenuBar* m_bar;
    QAction* m_exit;
    QAction* m_save;
    QMenu* m_debug;
    bool m_debugOffered;
};

} // namespace engine
