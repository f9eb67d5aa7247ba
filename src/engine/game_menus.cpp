#include "engine/game_menus.h"

#include "platform/scene_window.h"

#include <QMenu>
#include <QMenuBar>

namespace engine {

GameMenus::GameMenus(platform::SceneWindow& window, bool debugOffered)
    : m_window(window), m_bar(new QMenuBar(&window)), m_debugOffered(debugOffered) // the bar is owned by the window
{
    m_exit = m_bar->addAction(mnuExit.caption);
    m_save = m_bar->addAction(mnuSaveGame.caption);
    m_debug = m_bar->addMenu(mnuDebug.caption);
    QObject::connect(m_exit, &QAction::triggered, m_bar, [this] { chooseExit(); });
    QObject::connect(m_save, &QAction::triggered, m_bar, [this] { chooseSaveGame(); });
    m_bar->hide();
    sync();
}

void GameMenus::ShowMenus(bool hideSaveMenu)
{
    mnuExit.visible = true;
    mnuSaveGame.visible = !hideSaveMenu;
    // The player never offers the Debug menu, except to game authors.
    mnuDebug.visible = m_debugOffered;
    sync();
}

void GameMenus::HideMenus()
{
    for (MenuItem* item : {&mnuExit, &mnuSaveGame, &mnuDebug}) {
        if (item->visible)
            item->visible = false;
    }
    sync();
}

void GameMenus::setFrames(const QStringList& frames)
{
    mnuFrameName = frames;
    m_debug->clear();
    for (int i = 1; i <= frames.size(); ++i) {
        QAction* action = m_debug->addAction(frames[i - 1]);
        QObject::connect(action, &QAction::triggered, m_bar, [this, i] { chooseFrame(i); });
    }
    m_debug->addSeparator();
    QAction* state = m_debug->addAction(QStringLiteral("State"));
    QObject::connect(state, &QAction::triggered, m_bar, [this] { chooseState(); });
    m_debug->addAction(QStringLiteral("Cancel"));
}

void GameMenus::choose(const QString& item, const std::function<void()>& handler)
{
    platform::InputObserver* observer = m_window.inputObserver();
    if (observer)
        observer->menuInput(item);
    if (handler)
        handler();
    if (observer)
        observer->inputEnds();
}

void GameMenus::chooseExit()
{
    choose(QStringLiteral("mnuExit"), onExit);
}

void GameMenus::chooseSaveGame()
{
    choose(QStringLiteral("mnuSaveGame"), onSaveGame);
}

void GameMenus::chooseState()
{
    if (onState)
        onState();
}

void GameMenus::chooseFrame(int index)
{
    if (index < 1 || index > mnuFrameName.size())
        return;
    const QString frame = mnuFrameName[index - 1];
    choose(QStringLiteral("mnuFrameName(%1)").arg(index), [this, &frame] {
        if (onFrame)
            onFrame(frame);
    });
}

void GameMenus::sync()
{
    m_exit->setText(mnuExit.caption);
    m_exit->setVisible(mnuExit.visible);
    m_save->setText(mnuSaveGame.caption);
    m_save->setVisible(mnuSaveGame.visible);
    m_debug->setTitle(mnuDebug.caption);
    m_debug->menuAction()->setVisible(mnuDebug.visible);
    const bool any = mnuExit.visible || mnuSaveGame.visible || mnuDebug.visible;
    if (any) {
        m_bar->setGeometry(0, 0, m_window.width(), m_bar->sizeHint().height());
        m_bar->raise();
    }
    m_bar->setVisible(any);
}

} // namespace engine
