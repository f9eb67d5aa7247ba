#pragma once

#include "platform/element.h"
#include "platform/input_observer.h"
#include "platform/scaling.h"

#include <QPointer>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QVBoxLayout;

namespace platform {

// A top-level window whose content is a scene of Elements. Qt's events hand
// straight off to the handlers the owning window installs, so every behaviour
// can be driven without a screen by calling the handlers or by sending the
// same events a person would.
class SceneWindow : public QWidget {
public:
    explicit SceneWindow(QString name, QWidget* parent = nullptr);
    ~SceneWindow() override;

    const QString& name() const { return m_name; }
    QGraphicsScene& scene() { return *m_scene; }
    QGraphicsView& view() { return *m_view; }

    // Creates an element owned by its parent element, or by the scene for a
    // top-level one, and registers it under its name.
    Element* create(Element::Kind kind, const QString& name, Element* parent = nullptr);
    // Unloads an element created earlier (and its children).
    void destroy(const QString& name);
    Element* element(const QString& name) const;
    // Every registered element, in name order.
    const std::map<QString, Element*>& elements() const { return m_elements; }
    // Elements unloaded and not yet freed (each with its children): they
    // wait until control is back in an event loop, with no handler running.
    std::size_t unloadedNotFreed() const;

    // Holds the paints of the scene until every hold is released, so that a
    // scene being rebuilt while events run keeps showing its last picture;
    // the last release paints it whole, once (platform::PaintHold holds for a
    // scope).
    void holdPaints();
    void releasePaints();
    bool paintsHeld() const { return m_paintHolds > 0; }

    // Pixel size of the scene. The view shows it at 1:1 when the window is
    // as large, else scaled to fill the window with its aspect kept.
    void setSceneSize(int width, int height);
    // Whether a scene smaller than the window grows to fill it (a switched
    // display mode) or stays at 1:1 in the middle.
    void setScaleToFill(bool scaleUp);
    // How a scene of another size than the window is scaled.
    void setScaling(Scaling scaling);
    Scaling scaling() const { return m_scaling; }
    // The view's scale of the scene now (1: its own size).
    double viewScale() const;
    // Background behind all elements: a colour, and a picture repeated at its
    // own size from the top-left corner over it (a null picture: none).
    void setBackground(const QColor& color);
    void setBackgroundTile(const QImage& tile);
    // The scene as it stands, at its own size: what the window shows,
    // before scaling, without anything the player draws over it.
    QImage picture() const;

    // Who watches the input that enters this window (nullptr: nobody).
    void setInputObserver(InputObserver* observer) { m_observer = observer; }
    InputObserver* inputObserver() const { return m_observer; }

    // While the player holds the game: a text shown over it (never in its
    // picture) and the pointer kept from it; the empty text ends both.
    void showHeld(const QString& text);
    bool pointerHeld() const;

    // Where a menu bar sits; set by the window that owns one.
    void setMenuWidget(QWidget* menu);

    // A ring drawn by the window over the scene (never in its picture),
    // around a rectangle of scene pixels; an empty rectangle: none.
    void setFocusRing(const QRectF& scenePixels);
    QRectF focusRing() const;
    // The element a press at a point of the scene reaches: the top-most
    // shown element there that takes presses, skipping those `skip` names
    // (null: none).
    Element* elementPressedAt(QPointF scenePos, const std::function<bool(const Element&)>& skip = {}) const;
    // A left or right click at a point of the scene, sent through the view
    // as a person's mouse sends it.
    void sendClick(QPointF scenePos, Qt::MouseButton button);
    // The part of an element that can be seen, in scene pixels: its own
    // rectangle cut by every container it sits in and by the scene.
    static QRectF visiblePart(const Element& e);

    std::function<void(int key, Qt::KeyboardModifiers)> onKeyDown;
    // A press on the window where no element lies.
    std::function<void(Qt::MouseButton)> onBackgroundPress;
    std::function<void(Qt::MouseButtons)> onBackgroundMove;
    // The pointer moved to another place over the window.
    std::function<void()> onPointerMoved;
    // Return false to keep the window open.
    std::function<bool()> onCloseRequest;
    std::function<void()> onActivate;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void fitScene();

    QString m_name;
    InputObserver* m_observer = nullptr;
    std::unique_ptr<QGraphicsScene> m_scene;
    QGraphicsView* m_view = nullptr;
    QVBoxLayout* m_layout = nullptr;
    QLabel* m_heldText = nullptr;
    // Where the pointer was last seen over the view; a move event at the
    // same place (a window shown under a still pointer) is no move.
    std::optional<QPointF> m_lastPointer;
    std::map<QString, Element*> m_elements;
    QColor m_background = Qt::black;
    QImage m_tile;
    bool m_scaleUp = false;
    Scaling m_scaling = Scaling::Smooth;
    int m_paintHolds = 0;
    // The holder of elements unloaded at this depth of event loops.
    QPointer<QObject> m_unloaded;
    int m_unloadedLevel = -1;
};

} // namespace platform
