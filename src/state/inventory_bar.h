#pragma once

#include <QImage>

#include <cstdint>

namespace run {
class Context;
}
namespace engine {
class Game;
}

namespace state {

// The bar along the top of the game picture that holds the objects: it hides
// above the edge, slides down when the pointer reaches the tab, the bar or an
// object, and goes up again (sliding or at once) when the pointer moves onto
// the frame. A slide lasts 0.3 s on any machine: the step is measured against
// the clock, and each pass waits for the next display frame, never spinning.
class InventoryBar {
public:
    InventoryBar(run::Context& rt, engine::Game& game) : m_rt(rt), m_game(game) {}

    // The tab drawn by the player, 90 x 24 pixels, used when the game has none.
    static QImage BuiltInTab();
    // Milliseconds between two passes of a slide: one display frame.
    static constexpr int kPassMs = 16;

    void Load_InventoryBackground();
    void Inventory_Move();
    void TimerInventory_Timer();
    // A pointer move over an element of the inventory (1: open) or of the
    // frame (2: close).
    void PointerMoved(std::int16_t direction);

private:
    run::Context& m_rt;
    engine::Game& m_game;
};

} // namespace state
