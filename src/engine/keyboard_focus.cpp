#include "engine/keyboard_focus.h"

#include "engine/game.h"
#include "run/context.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace engine {

namespace {

// The points of a box tried for a press, in order: its middle, then the
// middles of the cells of a grid of 16 by 16 over it (fewer for a box of
// fewer pixels).
std::vector<QPointF> pressPoints(const QRectF& box)
{
    std::vector<QPointF> points{box.center()};
    const int columns = std::clamp(static_cast<int>(box.width()), 1, 16);
    const int rows = std::clamp(static_cast<int>(box.height()), 1, 16);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            points.emplace_back(box.left() + (column + 0.5) * box.width() / columns, box.top() + (row + 0.5) * box.height() / rows);
    }
    return points;
}

bool isTab(int key, Qt::KeyboardModifiers modifiers)
{
    return key == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier);
}

bool isBackTab(int key, Qt::KeyboardModifiers modifiers)
{
    return key == Qt::Key_Backtab || (key == Qt::Key_Tab && (modifiers & Qt::ShiftModifier));
}

} // namespace

KeyboardFocus::KeyboardFocus(run::Context& rt, Game& game, bool enabled) : m_rt(rt), m_game(game), m_enabled(enabled) {}

bool KeyboardFocus::carrying() const
{
    return m_takenUp && m_game.inventory().dragging();
}

bool KeyboardFocus::keyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (!m_enabled)
        return false;
    if (isTab(key, modifiers) || isBackTab(key, modifiers)) {
        move(isTab(key, modifiers));
        return true;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        if (m_focused.isEmpty())
            return false;
        activate();
        return true;
    }
    if (key == Qt::Key_Escape && carrying()) {
        m_game.inventory().putBack();
        m_takenUp = false;
        showOn(QStringLiteral("PickedObject(%1)").arg(m_game.DraggedObjectIndex));
        return true;
    }
    return false;
}

void KeyboardFocus::clear()
{
    // An object the keys carry goes back with the ring.
    if (carrying())
        m_game.inventory().putBack();
    m_takenUp = false;
    m_focused.clear();
    m_game.window().setFocusRing(QRectF());
}

void KeyboardFocus::setEnabled(bool enabled)
{
    if (!enabled && m_enabled) {
        if (carrying())
            keyDown(Qt::Key_Escape, Qt::NoModifier);
        clear();
    }
    m_enabled = enabled;
}

std::optional<QPointF> KeyboardFocus::pointPressing(const platform::Element& e, bool barWillClose) const
{
    const QRectF box = platform::SceneWindow::visiblePart(e);
    if (box.isEmpty())
        return std::nullopt;
    const platform::Element* bar = m_game.element(QStringLiteral("Inventory1"));
    const auto inClosingBar = [&](const platform::Element& over) {
        return barWillClose && bar && (&over == bar || bar->isAncestorOf(&over));
    };
    for (const QPointF& point : pressPoints(box)) {
        if (m_game.window().elementPressedAt(point, inClosingBar) == &e)
            return point;
    }
    return std::nullopt;
}

std::vector<KeyboardFocus::Stop> KeyboardFocus::stops(bool barWillClose) const
{
    std::vector<Stop> areas;
    for (int i = 1; i <= m_rt.frame.FrameAreaCount; ++i) {
        // An animated area takes its clicks on the box of its picture.
        const std::int32_t box = m_game.areas().aniGifIndex(static_cast<std::int16_t>(i));
        platform::Element* e = m_game.element(box > 0 ? QStringLiteral("AniGifBox(%1)").arg(box) : QStringLiteral("Area(%1)").arg(i));
        if (!e || !e->isVisible())
            continue;
        if (const std::optional<QPointF> hit = pointPressing(*e, barWillClose))
            areas.push_back(Stop{e, i, 0, platform::SceneWindow::visiblePart(*e), *hit});
    }
    std::sort(areas.begin(), areas.end(), [](const Stop& a, const Stop& b) {
        const auto key = [](const Stop& s) { return std::tuple(std::floor(s.box.top()), std::floor(s.box.left()), s.area); };
        return key(a) < key(b);
    });
    for (int n = 1; n <= m_game.ObjectsCount; ++n) {
        platform::Element* e = m_game.element(QStringLiteral("PickedObject(%1)").arg(n));
        if (!e || !e->shown())
            continue;
        // An object in a closed bar is reached by opening the bar.
        const QRectF box = platform::SceneWindow::visiblePart(*e);
        areas.push_back(Stop{e, 0, n, box, pointPressing(*e, false).value_or(box.center())});
    }
    return areas;
}

std::optional<KeyboardFocus::Stop> KeyboardFocus::stopNamed(const QString& name, bool barWillClose) const
{
    for (const Stop& stop : stops(barWillClose)) {
        if (stop.element->name() == name)
            return stop;
    }
    return std::nullopt;
}

void KeyboardFocus::showOn(const QString& name)
{
    const std::optional<Stop> stop = stopNamed(name, false);
    if (!stop) {
        clear();
        return;
    }
    m_focused = name;
    m_game.window().setFocusRing(stop->box);
}

void KeyboardFocus::move(bool forward)
{
    const bool carried = carrying();
    const std::vector<Stop> all = stops(!carried);
    if (all.empty()) {
        clear();
        return;
    }
    const auto here = std::find_if(all.begin(), all.end(), [this](const Stop& s) { return s.element->name() == m_focused; });
    const auto count = static_cast<std::ptrdiff_t>(all.size());
    std::ptrdiff_t next = forward ? 0 : count - 1;
    if (here != all.end())
        next = ((here - all.begin()) + (forward ? 1 : count - 1)) % count;
    const Stop& target = all[static_cast<std::size_t>(next)];
    const QString name = target.element->name();
    const QString objectName = target.object > 0 ? target.element->tag() : QString();
    if (!carried) {
        // The ring goes where the pointer would: onto an object the bar
        // opens, onto an area an open bar closes.
        const platform::Element* bar = m_game.element(QStringLiteral("Inventory1"));
        if (target.object > 0)
            m_game.inventoryBar().PointerMoved(1);
        else if (bar && bar->shown() && bar->top() > -bar->height())
            m_game.inventoryBar().PointerMoved(2);
    }
    showOn(name);
    if (m_focused != name)
        return;
    if (carrying()) {
        if (const std::optional<Stop> stop = stopNamed(name, false))
            m_game.inventory().dragTo(stop->hit);
    }
    if (!objectName.isEmpty() && onObjectFocused)
        onObjectFocused(objectName);
}

void KeyboardFocus::activate()
{
    const QString name = m_focused;
    const std::optional<Stop> stop = stopNamed(name, false);
    if (carrying()) {
        // Dropped on itself, an object stays where it was.
        m_takenUp = false;
        if (stop)
            m_game.inventory().dropAt(stop->hit);
        else
            m_game.inventory().putBack();
    } else if (!stop) {
        return; // covered for now: a bar held open lies over it
    } else if (stop->object > 0) {
        m_game.inventory().PickedObject_MouseDown(static_cast<std::int16_t>(stop->object), 1);
        m_takenUp = true;
    } else {
        m_game.window().sendClick(stop->hit, Qt::LeftButton);
    }
    // What the click did may have moved, hidden or unloaded the element; an
    // opened frame has hidden the ring already.
    if (m_focused == name)
        showOn(name);
}

} // namespace engine
