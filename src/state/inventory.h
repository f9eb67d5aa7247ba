#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QGraphicsPixmapItem;

namespace run {
class Context;
}
namespace engine {
class Game;
}
namespace platform {
class Element;
}

namespace state {

class InventoryBar;

// The objects the player carries: PickedObject(1) up, in the order picked,
// laid out in a grid in the bar (or on the picture when the game has no bar),
// combined by dropping one on another and used by dropping them on areas.
// Dragging happens inside the scene: the object's picture follows the
// pointer from the press to the release.
class Inventory {
public:
    Inventory(run::Context& rt, engine::Game& game, InventoryBar& bar);
    ~Inventory();

    void PickOrNotPickObject(std::int16_t area);
    void AddPickedObject(const QString& name);
    void RemovePickedObject(std::int16_t index);

    void PickedObject_MouseDown(std::int16_t index, std::int16_t button);
    void PickedObject_DragDrop(std::int16_t target, const QString& source);
    void Area_DragDrop(std::int16_t area, const QString& source);
    void AniGif_DragDrop(std::int16_t index, const QString& source);

    // The object name of element i; throws Failure when there is none.
    QString Tag(std::int16_t index) const;
    QStringList tags() const;

    // A drag of an object, as the pointer makes one and as keys make one:
    // PickedObject_MouseDown starts it, the object's picture follows to a
    // point of the scene, and the drop at a point acts on the element
    // there; a drag put back ends with no drop.
    bool dragging() const { return m_dragIcon != nullptr; }
    void dragTo(QPointF scenePos);
    void dropAt(QPointF scenePos);
    void putBack();

    // Empties the inventory and unloads every object element (the reset).
    void reset();
    // Where new objects go: the bar, or the picture when there is no bar.
    void setContainer(platform::Element& container);

    // Grid geometry in twips: the cell of object n (from 1) and the height
    // of the bar holding n objects.
    QPointF cell(int n) const;
    int barHeight(int count) const;

private:
    platform::Element* object(std::int16_t index) const;
    void layOutBarFor(int count);

    run::Context& m_rt;
    engine::Game& m_game;
    InventoryBar& m_bar;
    platform::Element* m_container = nullptr;
    int m_elements = 0; // highest loaded object element
    std::unique_ptr<QGraphicsPixmapItem> m_dragIcon;
};

} // namespace state
