#include "engine/player_menu.h"

#include <QMenu>
#include <QWidget>

namespace engine {

PlayerMenu::PlayerMenu(QWidget& window) : m_window(window), m_menu(new QMenu(&window))
{
    m_menu->setObjectName(QStringLiteral("PlayerMenu"));
    for (const Item item : items()) {
        QAction* action = m_menu->addAction(caption(item));
        action->setObjectName(scriptName(item));
        QObject::connect(action, &QAction::triggered, m_menu, [this, item] { choose(item); });
        if (item == Item::TakeScreenshot || item == Item::BackToChooser)
            m_menu->addSeparator();
    }
    QObject::connect(m_menu, &QMenu::aboutToHide, m_menu, [this] { closed(); });
}

QList<PlayerMenu::Item> PlayerMenu::items()
{
    return {Item::Resume, Item::TakeScreenshot, Item::FullScreen, Item::BackToChooser, Item::Quit};
}

QString PlayerMenu::caption(Item item)
{
    switch (item) {
    case Item::Resume:
        return QStringLiteral("Resume");
    case Item::TakeScreenshot:
        return QStringLiteral("Take a screenshot");
    case Item::FullScreen:
        return QStringLiteral("Full screen");
    case Item::BackToChooser:
        return QStringLiteral("Back to the game chooser");
    case Item::Quit:
        return QStringLiteral("Quit");
    }
    return {};
}

QString PlayerMenu::scriptName(Item item)
{
    switch (item) {
    case Item::Resume:
        return QStringLiteral("Resume");
    case Item::TakeScreenshot:
        return QStringLiteral("Screenshot");
    case Item::FullScreen:
        return QStringLiteral("FullScreen");
    case Item::BackToChooser:
        return QStringLiteral("Chooser");
    case Item::Quit:
        return QStringLiteral("Quit");
    }
    return {};
}

void PlayerMenu::open()
{
    if (m_open)
        return;
    m_open = true;
    m_chosen = false;
    // Full screen shows whether the window is full screen now.
    for (QAction* action : m_menu->actions()) {
        if (action->objectName() == scriptName(Item::FullScreen)) {
            action->setCheckable(true);
            action->setChecked(m_window.window()->isFullScreen());
        }
    }
    const QSize size = m_menu->sizeHint();
    const QPoint centre = m_window.mapToGlobal(m_window.rect().center());
    m_menu->popup(centre - QPoint(size.width() / 2, size.height() / 2));
}

void PlayerMenu::choose(Item item)
{
    if (!m_open)
        return;
    m_chosen = true;
    m_open = false;
    m_menu->hide();
    if (onChoose)
        onChoose(item);
}

void PlayerMenu::close()
{
    if (m_open)
        m_menu->hide();
}

void PlayerMenu::closed()
{
    // A menu hides before it says which item was triggered: whether it
    // closed without a choice is known once that has been said.
    QMetaObject::invokeMethod(
        m_menu,
        [this] {
            if (m_chosen || !m_open)
                return;
            m_open = false;
            if (onChoose)
                onChoose(Item::Resume);
        },
        Qt::QueuedConnection);
}

} // namespace engine
