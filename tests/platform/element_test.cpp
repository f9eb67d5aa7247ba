#include "platform/element.h"
#include "platform/scene_window.h"

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QTransform>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::Element;
using platform::SceneWindow;
using Kind = Element::Kind;

namespace {

// A 100 by 100 pixel element at (x, y) pixels inside its parent.
Element* place(SceneWindow& window, Kind kind, const char* name, Element* parent = nullptr, int x = 0, int y = 0)
{
    Element* element = window.create(kind, QString::fromLatin1(name), parent);
    element->setGeometryTwips(x * 15, y * 15, 100 * 15, 100 * 15);
    return element;
}

// The names of the elements under a scene point, topmost first.
std::vector<std::string> stackAt(SceneWindow& window, QPointF point)
{
    std::vector<std::string> names;
    for (QGraphicsItem* item : window.scene().items(point, Qt::IntersectsItemShape, Qt::DescendingOrder))
        names.push_back(static_cast<Element*>(item)->name().toStdString());
    return names;
}

std::string topAt(SceneWindow& window, QPointF point)
{
    auto* item = static_cast<Element*>(window.scene().itemAt(point, QTransform()));
    return item ? item->name().toStdString() : std::string("(none)");
}

using Names = std::vector<std::string>;

} // namespace

TEST(ElementStacking, ImagesAndLabelsStayBeneathTopLevelContainers)
{
    SceneWindow window(QStringLiteral("w"));
    place(window, Kind::Picture, "box");
    Element* image = place(window, Kind::Image, "image");
    Element* label = place(window, Kind::Label, "label");
    EXPECT_EQ(stackAt(window, {50, 50}), (Names{"box", "label", "image"}));
    for (int i = 0; i < 3; ++i) {
        label->bringToFront();
        image->bringToFront();
    }
    EXPECT_EQ(stackAt(window, {50, 50}), (Names{"box", "image", "label"}));
}

TEST(ElementStacking, ImagesAndLabelsStayBeneathContainersOfTheSameParent)
{
    SceneWindow window(QStringLiteral("w"));
    Element* frame = place(window, Kind::Picture, "frame");
    Element* picture = place(window, Kind::Image, "picture", frame);
    place(window, Kind::Picture, "inner", frame);
    Element* caption = place(window, Kind::Label, "caption", frame);
    caption->bringToFront();
    picture->bringToFront();
    // Children draw over their own container.
    EXPECT_EQ(stackAt(window, {50, 50}), (Names{"inner", "picture", "caption", "frame"}));
}

TEST(ElementStacking, BringToFrontRaisesAboveSiblingsOfTheSameBand)
{
    SceneWindow window(QStringLiteral("w"));
    Element* first = place(window, Kind::Picture, "first");
    place(window, Kind::Image, "inside-first", first);
    place(window, Kind::Picture, "second");
    Element* low = place(window, Kind::Image, "low");
    place(window, Kind::Image, "high");
    EXPECT_EQ(stackAt(window, {50, 50}), (Names{"second", "inside-first", "first", "high", "low"}));
    low->bringToFront();
    first->bringToFront();
    // A raised container brings its children along.
    EXPECT_EQ(stackAt(window, {50, 50}), (Names{"inside-first", "first", "second", "low", "high"}));
}

TEST(ElementStacking, HitTestingFindsTheTopmostShownElement)
{
    SceneWindow window(QStringLiteral("w"));
    Element* image = place(window, Kind::Image, "image", nullptr, 50, 50);
    Element* box = place(window, Kind::Picture, "box");
    place(window, Kind::Image, "peek", box, 80, 80);
    image->bringToFront();
    EXPECT_EQ(topAt(window, {70, 70}), "box");
    EXPECT_EQ(topAt(window, {90, 90}), "peek");
    // The part of a child beyond its container is cut off, for the pointer too.
    EXPECT_EQ(topAt(window, {120, 120}), "image");
    EXPECT_EQ(topAt(window, {160, 10}), "(none)");
    box->setShown(false);
    EXPECT_EQ(topAt(window, {70, 70}), "image");
    EXPECT_EQ(topAt(window, {90, 90}), "image");
    box->setShown(true);
    window.destroy(QStringLiteral("box"));
    EXPECT_EQ(topAt(window, {70, 70}), "image");
    EXPECT_EQ(window.element(QStringLiteral("peek")), nullptr);
    EXPECT_EQ(window.element(QStringLiteral("image")), image);
}

// A press whose handler unloads the element pressed (an area that opens
// another frame): the element leaves the window at once but is freed only
// once the handler has returned, even when events ran meanwhile.
TEST(ElementUnloading, AnElementUnloadedByItsOwnHandlerIsFreedAfterTheHandlerReturns)
{
    SceneWindow window(QStringLiteral("w"));
    window.setSceneSize(200, 200);
    window.resize(200, 200);
    window.show();
    Element* box = place(window, Kind::Picture, "box");
    place(window, Kind::Image, "inside", box, 10, 10);
    std::size_t duringHandler = 0;
    box->onPress = [&](Qt::MouseButton, QPointF) {
        window.destroy(QStringLiteral("box"));
        QCoreApplication::processEvents();
        duringHandler = window.unloadedNotFreed();
    };
    QWidget* viewport = window.view().viewport();
    const QPointF at = window.view().mapFromScene(QPointF(5, 5));
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &press);
    EXPECT_EQ(duringHandler, 1u);
    EXPECT_EQ(window.element(QStringLiteral("box")), nullptr);
    EXPECT_EQ(window.element(QStringLiteral("inside")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.unloadedNotFreed(), 0u);
}
