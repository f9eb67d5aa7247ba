#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace engine {

// The player's own menu over a game (F10), apart from the game's menu bar:
// what the player does around the game rather than in it. The game holds
// while it is open; closing it without a choice (Escape, a click beside it)
// is the same as Resume.
class PlayerMenu {
    Q_DECLARE_TR_FUNCTIONS(engine::PlayerMenu)

public:
    enum class Item { Resume, Options, TakeScreenshot, FullScreen, BackToChooser, Quit };

    // The menu pops up over window, which owns it.
    explicit PlayerMenu(QWidget& window);

    // Runs after the menu has closed, with the choice made.
    std::function<void(Item)> onChoose;

    void open();
    bool isOpen() const { return m_open; }
    // A person's or a script's choice: the menu closes, then onChoose runs.
    void choose(Item item);
    // Closed without a choice.
    void close();

    // The items in their order, and each one's caption and script name
    // (PlayerMenu.Resume).
    static QList<Item> items();
    static QString caption(Item item);
    static QString scriptName(Item item);

private:
    void closed();

    QWidget& m_window;
    QMenu* m_menu; // owned by the window
    QAction* m_fullScreen = nullptr; // owned by the menu
    bool m_open = false;
    bool m_chosen = false;
};

} // namespace engine
