#include "state/inventory_bar.h"

#include "engine/game.h"
#include "run/context.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace state {

QImage InventoryBar::BuiltInTab()
{
    QImage tab(90, 24, QImage::Format_ARGB32_Premultiplied);
    tab.fill(Qt::transparent);
    QPainter p(&tab);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.moveTo(0, 0);
    shape.lineTo(90, 0);
    shape.lineTo(90, 14);
    shape.quadTo(90, 23.5, 80, 23.5);
    shape.lineTo(10, 23.5);
    shape.quadTo(0, 23.5, 0, 14);
    shape.closeSubpath();
    QLinearGradient fill(0, 0, 0, 24);
    fill.setColorAt(0, QColor(92, 70, 48));
    fill.setColorAt(1, QColor(58, 42, 28));
    p.fillPath(shape, fill);
    p.setPen(QPen(QColor(214, 176, 110), 1));
    p.drawPath(shape);
    // A satchel: the sign of what the bar holds.
    p.setPen(QPen(QColor(240, 214, 160), 1.2));
    p.setBrush(QColor(150, 104, 58));
    p.drawRoundedRect(QRectF(8, 7, 14, 11), 2, 2);
    p.drawArc(QRectF(11, 3, 8, 8), 0, 180 * 16);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(246, 230, 196));
    p.drawText(QRectF(26, 2, 62, 20), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Inventory"));
    return tab;
}

void InventoryBar::Load_InventoryBackground()
{
    const run::Project& p = m_rt.project;
    platform::Element* bar = m_game.element(QStringLiteral("Inventory1"));
    platform::Element* background = m_game.element(QStringLiteral("Inventory_Background"));
    platform::Element* tab = m_game.element(QStringLiteral("Inventory2"));
    try {
        if (!p.InventoryEnabled || !p.InventoryCustomPictures) {
            background->setShown(false);
            background->clearPicture();
            return;
        }
        auto usable = [&](const QString& name) {
            return !name.isEmpty() && name.toLower() != QLatin1String("default") && m_rt.files.fileExists(p.InventoryPath + name);
        };
        if (!usable(p.InventoryBackgroundPicture)) {
            background->setShown(false);
            background->clearPicture();
        } else {
            const base::LazyImage picture = m_rt.LoadPicture(p.InventoryPath + p.InventoryBackgroundPicture);
            background->setStretch(false);
            background->setPicture(picture);
            background->setGeometryTwips(0, bar->height() - background->height(), background->width(), background->height());
            background->setShown(true);
        }
        if (usable(p.InventoryTabPicture))
            tab->setPicture(m_rt.LoadPicture(p.InventoryPath + p.InventoryTabPicture));
    } catch (const std::exception&) {
        // The bar keeps whatever pictures it had.
    }
}

void InventoryBar::Inventory_Move()
{
    const run::Project& p = m_rt.project;
    platform::Element* bar = m_game.element(QStringLiteral("Inventory1"));
    m_game.InventoryMoving = true;
    const double slideSeconds = 0.3;
    double step = 15;
    double last = m_rt.clock().elapsedMs() / 1000.0;
    int passes = 0;
    // Every pass of the slide waits on the same timer.
    const std::unique_ptr<platform::Clock::Pacer> pace = m_rt.clock().pacer(kPassMs);
    for (;;) {
        const int h = bar->height();
        const int t = bar->top();
        const std::int16_t direction = m_game.InventoryDirection;
        if ((direction == 1 && t >= 0) || (direction == 2 && t <= -h) || direction == 0)
            break;
        if (direction != 1 && direction != 2)
            break;
        if (m_game.InventoryHeldOpen)
            m_game.InventoryDirection = 1;
        passes = (passes + 1) % 5;
        if (passes == 2) {
            const double now = m_rt.clock().elapsedMs() / 1000.0;
            step = (now - last) * h / (slideSeconds * 5);
            last = now;
        }
        if (m_game.InventoryDirection == 1) {
            if (p.InventorySlideOpen) {
                const int top = t + static_cast<int>(std::lround(step));
                bar->setTop(top >= 0 ? 0 : top);
                pace->wait();
            } else {
                bar->setTop(0);
            }
        } else {
            if (p.InventorySlideClose) {
                const int top = t - static_cast<int>(std::lround(step));
                bar->setTop(top <= -h ? -h : top);
                pace->wait();
            } else {
                bar->setTop(-h);
            }
        }
    }
    m_game.InventoryMoving = false;
}

void InventoryBar::TimerInventory_Timer()
{
    m_game.TimerInventory.setEnabled(false);
    m_game.InventoryHeldOpen = false;
    if (m_rt.project.InventorySlideClose) {
        m_game.InventoryDirection = 2;
        if (!m_game.InventoryMoving && m_rt.project.InventoryEnabled)
            Inventory_Move();
    }
}

void InventoryBar::PointerMoved(std::int16_t direction)
{
    m_game.InventoryDirection = direction;
    if (!m_game.InventoryMoving && m_rt.project.InventoryEnabled)
        Inventory_Move();
}

} // namespace state
