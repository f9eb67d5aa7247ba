#include "platform/element.h"
#include "platform/paint_hold.h"
#include "platform/scene_window.h"

#include <QCoreApplication>
#include <QGraphicsView>

#include <gtest/gtest.h>

#include <memory>

using platform::Element;
using platform::PaintHold;
using platform::SceneWindow;

namespace {

// Counts the paints of a scene window's picture.
class PaintCount : public QObject {
public:
    explicit PaintCount(SceneWindow& window) { window.view().viewport()->installEventFilter(this); }

    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            onPaint();
        return QObject::eventFilter(watched, event);
    }

private:
    void onPaint() { ++paints; }
};

// A shown window of one element, its first paints done.
std::unique_ptr<SceneWindow> shownWindow()
{
    auto window = std::make_unique<SceneWindow>(QStringLiteral("w"));
    window->setSceneSize(200, 100);
    window->resize(200, 100);
    window->create(Element::Kind::Picture, QStringLiteral("Box"))->setGeometryTwips(0, 0, 100 * 15, 100 * 15);
    window->show();
    QCoreApplication::processEvents();
    return window;
}

} // namespace

TEST(PaintHold, HoldsNestAndOnlyTheLastReleasePaints)
{
    std::unique_ptr<SceneWindow> window = shownWindow();
    PaintCount count(*window);
    PaintHold outer(*window);
    {
        PaintHold inner(*window);
        window->element(QStringLiteral("Box"))->setBackColor(Qt::red);
        QCoreApplication::processEvents();
    }
    window->element(QStringLiteral("Box"))->setLeft(50 * 15);
    QCoreApplication::processEvents();
    EXPECT_EQ(count.paints, 0);
    EXPECT_TRUE(window->paintsHeld());
    outer.release();
    outer.release();
    QCoreApplication::processEvents();
    EXPECT_EQ(count.paints, 1);
    EXPECT_FALSE(window->paintsHeld());
    // A release more than the holds leaves the next hold whole.
    window->releasePaints();
    PaintHold again(*window);
    EXPECT_TRUE(window->paintsHeld());
}

TEST(PaintHold, AHoldOutlivingItsWindowReleasesNothing)
{
    std::unique_ptr<SceneWindow> window = shownWindow();
    PaintHold hold(*window);
    window.reset();
    hold.release();
}
