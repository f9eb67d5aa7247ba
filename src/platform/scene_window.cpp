#include "platform/scene_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPainter>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QThread>
#include <QVBoxLayout>

#include <cmath>

namespace platform {

namespace {

// The view of the scene: tells the window's input observer when the
// handlers of a release or a double click have returned.
class SceneView : public QGraphicsView {
public:
    SceneView(QGraphicsScene* scene, SceneWindow* window) : QGraphicsView(scene, window), m_window(*window) {}

    const QRectF& ring() const { return m_ring; }
    void setRing(const QRectF& ring)
    {
        if (ring == m_ring)
            return;
        // Only the old and the new places are painted again.
        viewport()->update(ringArea(m_ring));
        m_ring = ring;
        viewport()->update(ringArea(m_ring));
    }

protected:
    // The ring lies over the scene in the view's own painting, so the
    // scene's picture never holds it. Its lines keep their width in screen
    // pixels at any scale: a dark line outside a light one, seen on any
    // picture.
    void drawForeground(QPainter* painter, const QRectF& exposed) override
    {
        QGraphicsView::drawForeground(painter, exposed);
        if (m_ring.isEmpty())
            return;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing, false);
        painter->setBrush(Qt::NoBrush);
        QPen outer(QColor(20, 20, 20), 5);
        outer.setCosmetic(true);
        painter->setPen(outer);
        painter->drawRect(m_ring);
        QPen inner(QColor(255, 214, 0), 3);
        inner.setCosmetic(true);
        painter->setPen(inner);
        painter->drawRect(m_ring);
        painter->restore();
    }

    bool viewportEvent(QEvent* event) override
    {
        const QEvent::Type type = event->type();
        const bool handled = QGraphicsView::viewportEvent(event);
        if ((type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove) && m_window.inputObserver())
            m_window.inputObserver()->inputEnds();
        return handled;
    }

private:
    QRect ringArea(const QRectF& ring) const
    {
        return ring.isEmpty() ? QRect() : mapFromScene(ring).boundingRect().adjusted(-4, -4, 4, 4);
    }

    SceneWindow& m_window;
    QRectF m_ring;
};

// Keeps unloaded elements alive until Qt deletes the holder.
class UnloadedElements : public QObject {
public:
    explicit UnloadedElements(QObject* parent) : QObject(parent) {}
    void add(Element* element) { m_elements.emplace_back(element); }
    std::size_t size() const { return m_elements.size(); }

private:
    std::vector<std::unique_ptr<Element>> m_elements;
};

} // namespace

SceneWindow::SceneWindow(QString name, QWidget* parent)
    : QWidget(parent), m_name(std::move(name)), m_scene(std::make_unique<QGraphicsScene>())
{
    setObjectName(m_name);
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_view = new SceneView(m_scene.get(), this); // owned by this window
    m_view->setFrameShape(QFrame::NoFrame);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setMouseTracking(true);
    m_layout->addWidget(m_view);
    m_view->viewport()->installEventFilter(this);
    setFocusPolicy(Qt::StrongFocus);
}

SceneWindow::~SceneWindow()
{
    // The scene deletes the items; forget them first.
    m_elements.clear();
    m_view->setScene(nullptr);
}

Element* SceneWindow::create(Element::Kind kind, const QString& name, Element* parent)
{
    auto* element = new Element(kind, name, parent); // owned by parent item or scene
    if (!parent) {
        m_scene->addItem(element);
        element->bringToFront();
    }
    m_elements[name] = element;
    return element;
}

void SceneWindow::destroy(const QString& name)
{
    auto it = m_elements.find(name);
    if (it == m_elements.end())
        return;
    Element* element = it->second;
    // Children go with their parent: forget them too.
    for (auto child = m_elements.begin(); child != m_elements.end();) {
        if (child->second != element && element->isAncestorOf(child->second))
            child = m_elements.erase(child);
        else
            ++child;
    }
    m_elements.erase(name);
    // The element may be the one whose mouse handler is running (a click
    // that opens another frame unloads the clicked area): take it out of the
    // scene now, free it once control is back in the event loop.
    element->setVisible(false);
    if (element->scene())
        element->scene()->removeItem(element);
    // Qt's deferred deletion waits until the event handler that unloads the
    // element has returned, even when it lets events run in the meantime;
    // handlers further out must not touch an element after calling code that
    // may unload it.
    // Elements unloaded at the same depth of event loops share one holder,
    // which Qt frees under the same rule.
    const int level = thread()->loopLevel();
    if (!m_unloaded || m_unloadedLevel != level) {
        auto* holder = new UnloadedElements(this); // owned by this window until deleteLater
        holder->deleteLater();
        m_unloaded = holder;
        m_unloadedLevel = level;
    }
    static_cast<UnloadedElements*>(m_unloaded.data())->add(element);
}

std::size_t SceneWindow::unloadedNotFreed() const
{
    std::size_t count = 0;
    for (const QObject* child : children()) {
        if (const auto* holder = dynamic_cast<const UnloadedElements*>(child))
            count += holder->size();
    }
    return count;
}

Element* SceneWindow::element(const QString& name) const
{
    auto it = m_elements.find(name);
    return it == m_elements.end() ? nullptr : it->second;
}

void SceneWindow::setSceneSize(int width, int height)
{
    m_scene->setSceneRect(0, 0, width, height);
    fitScene();
}

void SceneWindow::fitScene()
{
    const QRectF scene = m_scene->sceneRect();
    const QSize area = m_view->viewport()->size();
    if (scene.isEmpty() || area.isEmpty())
        return;
    double scale = std::min(area.width() / scene.width(), area.height() / scene.height());
    // A scene that fits is shown at its own size, centred; a larger one (a
    // game resolution presented on a smaller window) shrinks, a smaller one
    // (a switched display mode) grows, as the scaling asks.
    if (std::abs(scale - 1.0) < 1e-9 || (scale > 1 && !m_scaleUp))
        scale = 1;
    else if (m_scaling == Scaling::WholeSteps && scale > 1)
        scale = std::floor(scale);
    const bool exact = scale == 1;
    m_view->setTransform(exact ? QTransform() : QTransform::fromScale(scale, scale));
    m_view->setRenderHint(QPainter::SmoothPixmapTransform, !exact && m_scaling == Scaling::Smooth);
    m_view->setAlignment(Qt::AlignCenter);
}

void SceneWindow::setScaleToFill(bool scaleUp)
{
    m_scaleUp = scaleUp;
    fitScene();
}

void SceneWindow::setScaling(Scaling scaling)
{
    m_scaling = scaling;
    fitScene();
    m_view->viewport()->update();
}

double SceneWindow::viewScale() const
{
    return m_view->transform().m11();
}

bool SceneWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The view's viewport learns its size last; fit the scene to it then.
    if (watched == m_view->viewport() && event->type() == QEvent::Resize) {
        fitScene();
        if (m_heldText)
            m_heldText->setGeometry(m_view->geometry());
    }
    const QEvent::Type type = event->type();
    // Held, the game takes no pointer input at all.
    if (watched == m_view->viewport() && pointerHeld()
        && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick
            || type == QEvent::MouseMove || type == QEvent::Wheel))
        return true;
    if (watched == m_view->viewport() && m_observer
        && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick
            || type == QEvent::MouseMove)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_observer->pointerInput(*this, type, mouse->button(), m_view->mapToScene(mouse->position().toPoint()));
    }
    if (watched == m_view->viewport() && type == QEvent::MouseMove) {
        const QPointF at = static_cast<QMouseEvent*>(event)->position();
        if ((!m_lastPointer || *m_lastPointer != at) && onPointerMoved)
            onPointerMoved();
        m_lastPointer = at;
    }
    if (watched == m_view->viewport() && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!m_view->itemAt(mouse->position().toPoint())) {
            if (event->type() == QEvent::MouseButtonPress && onBackgroundPress)
                onBackgroundPress(mouse->button());
            else if (event->type() == QEvent::MouseMove && onBackgroundMove)
                onBackgroundMove(mouse->buttons());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SceneWindow::holdPaints()
{
    // A viewport without updates drops the scene's repaint requests; enabling
    // it again asks for one repaint of all of it.
    if (m_paintHolds++ == 0)
        m_view->viewport()->setUpdatesEnabled(false);
}

void SceneWindow::releasePaints()
{
    if (m_paintHolds > 0 && --m_paintHolds == 0)
        m_view->viewport()->setUpdatesEnabled(true);
}

void SceneWindow::setBackground(const QColor& color)
{
    m_background = color;
    if (m_tile.isNull())
        m_scene->setBackgroundBrush(color);
}

void SceneWindow::setBackgroundTile(const QImage& tile)
{
    m_tile = tile;
    if (tile.isNull())
        m_scene->setBackgroundBrush(m_background);
    else
        m_scene->setBackgroundBrush(QBrush(tile));
}

QImage SceneWindow::picture() const
{
    const QRectF area = m_scene->sceneRect();
    QImage image(area.size().toSize(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::black);
    QPainter painter(&image);
    m_scene->render(&painter, QRectF(QPointF(0, 0), area.size()), area);
    return image;
}

bool SceneWindow::pointerHeld() const
{
    return m_heldText && !m_heldText->isHidden();
}

void SceneWindow::showHeld(const QString& text)
{
    if (text.isEmpty()) {
        if (m_heldText)
            m_heldText->hide();
        return;
    }
    if (!m_heldText) {
        m_heldText = new QLabel(this); // owned by this window
        m_heldText->setAlignment(Qt::AlignCenter);
        m_heldText->setWordWrap(true);
        m_heldText->setStyleSheet(QStringLiteral("background: rgba(0, 0, 0, 160); color: white; font-size: 20pt;"));
    }
    m_heldText->setText(text);
    m_heldText->setGeometry(m_view->geometry());
    m_heldText->show();
    m_heldText->raise();
}

void SceneWindow::setMenuWidget(QWidget* menu)
{
    m_layout->setMenuBar(menu);
}

void SceneWindow::setFocusRing(const QRectF& scenePixels)
{
    static_cast<SceneView*>(m_view)->setRing(scenePixels);
}

QRectF SceneWindow::focusRing() const
{
    return static_cast<const SceneView*>(m_view)->ring();
}

Element* SceneWindow::elementPressedAt(QPointF scenePos, const std::function<bool(const Element&)>& skip) const
{
    for (QGraphicsItem* item : m_scene->items(scenePos, Qt::IntersectsItemShape, Qt::DescendingOrder)) {
        auto* e = dynamic_cast<Element*>(item);
        if (!e || !e->isVisible() || !(e->acceptedMouseButtons() & Qt::LeftButton))
            continue;
        if (skip && skip(*e))
            continue;
        // A press stays inside the containers that clip the element.
        if (!visiblePart(*e).contains(scenePos))
            continue;
        return e;
    }
    return nullptr;
}

void SceneWindow::sendClick(QPointF scenePos, Qt::MouseButton button)
{
    QWidget* viewport = m_view->viewport();
    const QPointF local = m_view->mapFromScene(scenePos);
    const QPointF global = viewport->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &release);
}

QRectF SceneWindow::visiblePart(const Element& e)
{
    QRectF r = e.sceneBoundingRect();
    for (const QGraphicsItem* up = e.parentItem(); up; up = up->parentItem())
        r = r.intersected(up->sceneBoundingRect());
    if (e.scene())
        r = r.intersected(e.scene()->sceneRect());
    return r;
}

void SceneWindow::keyPressEvent(QKeyEvent* event)
{
    if (!onKeyDown) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (m_observer)
        m_observer->keyInput(*this, event->key(), event->modifiers());
    onKeyDown(event->key(), event->modifiers());
    if (m_observer)
        m_observer->inputEnds();
}

bool SceneWindow::focusNextPrevChild(bool next)
{
    // The elements take no focus of Qt's: for a window with a key handler,
    // Tab and Shift+Tab are keys like the others, which it may use to move
    // a focus of its own.
    if (onKeyDown)
        return false;
    return QWidget::focusNextPrevChild(next);
}

void SceneWindow::closeEvent(QCloseEvent* event)
{
    if (onCloseRequest && !onCloseRequest())
        event->ignore();
    else
        event->accept();
}

bool SceneWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && onActivate)
        onActivate();
    return QWidget::event(event);
}

} // namespace platform
