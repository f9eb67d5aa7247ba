#include "engine/player_menu.h"

#include <QMenu>
#include <QWidget>

#include <algorithm>
#include <iterator>

namespace engine {

PlayerMenu::PlayerMenu(QWidget& window) : m_window(window), m_menu(new QMenu(&window))
{
    m_menu->setObjectName(QStringLiteral("PlayerMenu"));
    for (const Item item : items()) {
        QAction* action = m_menu->addAction(caption(item));
        action->setObjectName(scriptName(item));
        QObject::connect(action, &QAction::triggered, m_menu, [this, item] { choose(item); });
        if (item == Item::FullScreen) {
            action->setCheckable(true);
            m_fullScreen = action;
        }
        if (item == Item::TakeScreenshot || item == Item::BackToChooser)
            m_menu->addSeparator();
    }
    QObject::connect(m_menu, &QMenu::aboutToHide, m_menu, [this] { closed(); });
}

namespace {

// Each item with its caption and its script name, in the menu's order.
struct ItemNames {
    PlayerMenu::Item item;
    const char* caption;
    const char* scriptName;
};

constexpr ItemNames kItems[] = {
    {PlayerMenu::Item::Resume, QT_TRANSLATE_NOOP("engine::PlayerMenu", "Resume"), "Resume"},
    {PlayerMenu::Item::Options, QT_TRANSLATE_NOOP("engine::PlayerMenu", "Options..."), "Options"},
    {PlayerMenu::Item::TakeScreenshot, QT_TRANSLATE_NOOP("engine::PlayerMenu", "Take a screenshot"), "Screenshot"},
    {PlayerMenu::Item::FullScreen, QT_TRANSLATE_NOOP("engine::PlayerMenu", "Full screen"), "FullScreen"},
    {PlayerMenu::Item::BackToChooser, QT_TRANSLATE_NOOP("engine::PlayerMenu", "Back to the game chooser"), "Chooser"},
    {PlayerMenu::Item::Quit, QT_TRANSLATE_NOOP("engine::PlayerMenu", "Quit"), "Quit"},
};

const ItemNames& namesOf(PlayerMenu::Item item)
{
    return *std::find_if(std::begin(kItems), std::end(kItems), [item](const ItemNames& n) { return n.item == item; });
}

} // namespace

QList<PlayerMenu::Item> PlayerMenu::items()
{
    QList<Item> all;
    for (const ItemNames& n : kItems)
        all << n.item;
    return all;
}

QString PlayerMenu::caption(Item item)
{
    return tr(namesOf(item).caption);
}

QString PlayerMenu::scriptName(Item item)
{
    return QString::fromLatin1(namesOf(item).scriptName);
}

void PlayerMenu::open()
{
    if (m_open)
        return;
    m_open = true;
    m_chosen = false;
    // Full screen shows whether the window is full screen now.
    m_fullScreen->setChecked(m_window.window()->isFullScreen());
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
