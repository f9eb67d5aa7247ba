#include "platform/element.h"

#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>

#include <cmath>

#include <algorithm>

namespace platform {

namespace {
// Stacking bands: images and labels below containers, whatever the count of
// raises (exact in a double up to 2^53).
constexpr double kContainerBand = 1e15;
} // namespace

Element::Element(Kind kind, QString name, QGraphicsItem* parent)
    : QGraphicsItem(parent), m_kind(kind), m_name(std::move(name))
{
    setInputTransparent(false);
    if (m_kind == Kind::Picture || m_kind == Kind::Image)
        setFlag(QGraphicsItem::ItemClipsChildrenToShape, m_kind == Kind::Picture);
    bringToFront();
}

void Element::setGeometryTwips(int left, int top, int width, int height)
{
    if (width != m_width || height != m_height)
        prepareGeometryChange();
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    setPos(left / 15.0, top / 15.0);
    update();
}

void Element::setShown(bool shown)
{
    m_shown = shown;
    setVisible(shown);
}

void Element::setPicture(const base::LazyImage& picture)
{
    m_picture = picture;
    if (picture.isNull())
        m_pictureFile.clear();
    // An image that does not stretch takes its picture's size.
    if (m_kind == Kind::Image && !m_stretch && !picture.isNull())
        setGeometryTwips(m_left, m_top, picture.width() * 15, picture.height() * 15);
    update();
}

void Element::setStretch(bool stretch)
{
    m_stretch = stretch;
    update();
}

void Element::setBackColor(const QColor& color)
{
    m_backColor = color;
    update();
}

void Element::setTile(const QImage& tile)
{
    m_tile = tile;
    update();
}

void Element::setText(const QString& text)
{
    m_text = text;
    fitToText();
    update();
}

void Element::setFont(const QFont& font)
{
    m_font = font;
    fitToText();
    update();
}

void Element::setAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    fitToText();
}

namespace {
// Captions break lines at CR LF, and at a lone CR or LF, as the labels of
// the games did; Qt breaks at LF only.
QString displayedText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    return shown;
}
// The size a caption takes in a font, pixels: the whole caption, every line
// of it; an empty caption keeps the height of one line. Frames show the same
// captions again and again, so the layouts are kept (a few hundred at most).
QSizeF captionSize(const QFont& font, const QString& text)
{
    static QHash<QPair<QString, QString>, QSizeF> known;
    const QPair<QString, QString> key(font.key(), text);
    if (const auto it = known.constFind(key); it != known.constEnd())
        return *it;
    const QFontMetricsF metrics(font);
    const QRectF bounds = metrics.boundingRect(QRectF(0, 0, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop, displayedText(text));
    const QSizeF size(text.isEmpty() ? 0 : bounds.width(), std::max(bounds.height(), metrics.height()));
    if (known.size() > 512)
        known.clear();
    known.insert(key, size);
    return size;
}
} // namespace

void Element::fitToText()
{
    if (!m_autoSize || m_kind != Kind::Label)
        return;
    const QSizeF size = captionSize(m_font, m_text);
    // Kept within the range of a position, whatever the text.
    const double limit = 1e8;
    const int w = static_cast<int>(std::min(limit, std::ceil(size.width()) * 15));
    const int h = static_cast<int>(std::min(limit, std::ceil(size.height()) * 15));
    const int left = (m_alignment & Qt::AlignHCenter) ? m_left + m_width / 2 - w / 2 : m_left;
    setGeometryTwips(left, m_top, w, h);
}

void Element::setForeColor(const QColor& color)
{
    m_foreColor = color;
    update();
}

void Element::setAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void Element::setValue(int value)
{
    m_value = value;
    update();
}

void Element::setFocusFrame(bool shown)
{
    m_focusFrame = shown;
    update();
}

void Element::bringToFront()
{
    // A running count of raises among the siblings, kept by their parent:
    // the newest raise is above every earlier one without looking at them.
    // Containers stay a band above.
    double raises = 0;
    if (auto* parent = dynamic_cast<Element*>(parentItem())) {
        raises = ++parent->m_childRaises;
    } else if (QGraphicsScene* s = scene()) {
        raises = s->property("loomplayRaises").toDouble() + 1;
        s->setProperty("loomplayRaises", raises);
    }
    setZValue((isContainer() ? kContainerBand : 0) + raises);
}

void Element::setInputTransparent(bool transparent)
{
    setAcceptedMouseButtons(transparent ? Qt::NoButton : Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
    setAcceptHoverEvents(!transparent);
}

QRectF Element::boundingRect() const
{
    return QRectF(0, 0, m_width / 15.0, m_height / 15.0);
}

void Element::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const QRectF r = boundingRect();
    painter->setClipRect(r, Qt::IntersectClip);
    switch (m_kind) {
    case Kind::Picture:
        painter->fillRect(r, m_backColor);
        if (!m_tile.isNull()) {
            // Copies at x = 0, w, 2w ... while x is not beyond the width,
            // and the same downwards.
            for (int x = 0; x <= r.width(); x += m_tile.width()) {
                for (int y = 0; y <= r.height(); y += m_tile.height())
                    painter->drawImage(QPointF(x, y), m_tile);
            }
        }
        if (!m_picture.isNull())
            painter->drawImage(QPointF(0, 0), m_picture.image());
        break;
    case Kind::Image:
        if (!m_picture.isNull()) {
            painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
            if (m_stretch)
                painter->drawImage(r, m_picture.image());
            else
                painter->drawImage(QPointF(0, 0), m_picture.image());
        }
        break;
    case Kind::Label:
        painter->setFont(m_font);
        painter->setPen(m_foreColor);
        painter->drawText(r, int(m_alignment) | (m_autoSize ? 0 : Qt::TextWordWrap), displayedText(m_text));
        break;
    case Kind::CheckBox: {
        painter->fillRect(r, Qt::white);
        painter->setPen(QPen(Qt::darkGray, 1));
        painter->drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        if (m_value != 0) {
            painter->setPen(QPen(Qt::black, 2));
            painter->drawLine(QPointF(r.width() * 0.2, r.height() * 0.5), QPointF(r.width() * 0.45, r.height() * 0.75));
            painter->drawLine(QPointF(r.width() * 0.45, r.height() * 0.75), QPointF(r.width() * 0.8, r.height() * 0.25));
        }
        break;
    }
    }
    if (m_focusFrame) {
        // Black dots over a white line: seen on whatever the element shows.
        const QRectF edge = r.adjusted(0.5, 0.5, -0.5, -0.5);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(Qt::white, 1));
        painter->drawRect(edge);
        painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter->drawRect(edge);
    }
}

void Element::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    m_pressed = true;
    if (onPress)
        onPress(event->button(), toTwips(event->pos()));
    event->accept();
}

void Element::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    // The handlers may unload this element: nothing of it is touched after
    // they run.
    const bool clicked = m_pressed && boundingRect().contains(event->pos());
    m_pressed = false;
    const auto click = onClick;
    if (onRelease)
        onRelease(event->button(), toTwips(event->pos()));
    if (clicked && click)
        click(event->button());
}

void Element::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (onMove)
        onMove(event->buttons(), toTwips(event->pos()));
}

void Element::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    if (onDoubleClick)
        onDoubleClick();
    else
        mousePressEvent(event);
}

void Element::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    if (onMove)
        onMove(Qt::NoButton, toTwips(event->pos()));
}

} // namespace platform
