#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace run {
class Context;
}
namespace platform {
class Element;
}

namespace engine {

class Game;

// Play without a mouse. Tab and Shift+Tab move a ring through what takes
// clicks in the game picture: the areas shown, in reading order, then the
// objects of the inventory. Enter or Space clicks the area in the ring, at
// a point of it that no other element covers, as a mouse would; on an
// object it takes the object up as a drag would, Tab then carries it over
// the areas and the other objects, Enter drops it there and Escape puts it
// back. The ring stays hidden until the first Tab, and goes when the
// pointer moves or a frame opens.
class KeyboardFocus {
public:
    // One element the ring can stop at.
    struct Stop {
        platform::Element* element = nullptr;
        // The area's number (0 for an object).
        int area = 0;
        // The object's place in the inventory (0 for an area).
        int object = 0;
        // Where it lies in scene pixels, and a point of it a press reaches.
        QRectF box;
        QPointF hit;
    };

    KeyboardFocus(run::Context& rt, Game& game, bool enabled);

    // The keys of play without a mouse; false for a key it leaves to the
    // game (every key while the ring is switched off, Escape when no object
    // is carried).
    bool keyDown(int key, Qt::KeyboardModifiers modifiers);
    // Hides the ring and forgets what it was on, and puts back an object
    // the keys carry (a frame opens, the pointer moves).
    void clear();
    // Switched off (the player's options), an object carried by keys goes
    // back, the ring goes, and every key is the game's again.
    void setEnabled(bool enabled);
    // The name of the element in the ring; empty while it is hidden.
    const QString& focused() const { return m_focused; }
    // An object taken up by Enter is being carried (a drag the mouse
    // started is the mouse's: the keys leave it alone).
    bool carrying() const;

    // Where the ring stops now, in order: areas by the top, then the left
    // edge of their visible part (whole pixels), then by number; then the
    // objects in their inventory order. An area no point of which a press
    // reaches is left out. With `barWillClose`, the inventory bar is taken
    // as closed: moving onto an area closes it.
    std::vector<Stop> stops(bool barWillClose) const;

    // Told the name of each object the ring comes to.
    std::function<void(const QString& name)> onObjectFocused;

private:
    void move(bool forward);
    void activate();
    // Shows the ring on the element of that name; hides it when there is
    // none now.
    void showOn(const QString& name);
    std::optional<Stop> stopNamed(const QString& name, bool barWillClose) const;
    std::optional<QPointF> pointPressing(const platform::Element& e, bool barWillClose) const;

    run::Context& m_rt;
    Game& m_game;
    bool m_enabled;
    QString m_focused;
    bool m_takenUp = false;
};

} // namespace engine
