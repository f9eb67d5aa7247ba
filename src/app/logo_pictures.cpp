#include "app/logo_pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace app {

QImage LogoPicture(int k)
{
    // The logo hangs from above the window's top edge (its top is at -720
    // twips), so only its lowest 16 pixels show: a small emblem in the
    // corner, a shuttle crossing three threads. Variants 2 and 3 (the
    // alternate place, further left) are wider; 1 and 3 are the dark ones.
    const bool alternate = k >= 2;
    const bool dark = k % 2 == 1;
    const int w = alternate ? 24 : 16;
    const int h = 64;
    const QRectF emblem(0.5, h - 16 + 0.5, w - 1, 15);
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, emblem.top(), 0, emblem.bottom());
    fill.setColorAt(0, dark ? QColor(60, 30, 100) : QColor(190, 150, 250));
    fill.setColorAt(1, dark ? QColor(30, 10, 60) : QColor(130, 80, 220));
    p.setPen(QPen(dark ? QColor(200, 170, 255) : QColor(70, 20, 130), 1));
    p.setBrush(fill);
    p.drawRoundedRect(emblem, 4, 4);
    p.setPen(QPen(dark ? QColor(230, 210, 255, 160) : QColor(255, 255, 255, 170), 1));
    for (int i = 1; i <= 3; ++i) {
        const double x = emblem.left() + emblem.width() * i / 4.0;
        p.drawLine(QPointF(x, emblem.top() + 2), QPointF(x, emblem.bottom() - 2));
    }
    QPainterPath shuttle;
    shuttle.moveTo(emblem.left() + 2, emblem.center().y() + 2);
    shuttle.quadTo(emblem.center().x(), emblem.center().y() - 5, emblem.right() - 2, emblem.center().y() - 2);
    shuttle.quadTo(emblem.center().x(), emblem.center().y() + 5, emblem.left() + 2, emblem.center().y() + 2);
    p.setPen(Qt::NoPen);
    p.setBrush(dark ? QColor(255, 210, 120) : QColor(250, 230, 170));
    p.drawPath(shuttle);
    return image;
}

} // namespace app
