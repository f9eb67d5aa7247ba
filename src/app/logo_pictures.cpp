#include "app/logo_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace app {

QImage LogoPicture(int k)
{
    // A loom's shuttle over a few threads: a small upright badge that hangs
    // from the top edge of the welcome window. Variants 2 and 3 are wider
    // (the alternate position sits further left); 1 and 3 are the dark ones.
    const bool alternate = k >= 2;
    const bool dark = k % 2 == 1;
    const int w = alternate ? 24 : 16;
    const int h = 64;
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, h);
    fill.setColorAt(0, dark ? QColor(40, 20, 70) : QColor(150, 90, 230));
    fill.setColorAt(1, dark ? QColor(90, 40, 140) : QColor(230, 200, 255));
    QPainterPath badge;
    badge.moveTo(0, 0);
    badge.lineTo(w, 0);
    badge.lineTo(w, h - w / 2.0);
    badge.lineTo(w / 2.0, h);
    badge.lineTo(0, h - w / 2.0);
    badge.closeSubpath();
    p.fillPath(badge, fill);
    p.setPen(QPen(dark ? QColor(230, 200, 255) : QColor(60, 20, 110), 1));
    for (int x = 3; x < w - 1; x += 4)
        p.drawLine(QPointF(x + 0.5, 52), QPointF(x + 0.5, h - w / 2.0 - 2));
    p.setBrush(dark ? QColor(255, 210, 120) : QColor(120, 60, 20));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(2, 56 - w / 2.0 - 6, w - 4, 7));
    return image;
}

} // namespace app
