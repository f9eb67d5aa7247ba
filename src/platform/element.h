#pragma once

#include "base/lazy_image.h"

#include <QColor>
#include <QFont>
#include <QGraphicsItem>
#include <QImage>
#include <QString>

#include <functional>

namespace platform {

// One widget of a window, drawn in the window's scene. Geometry is kept in
// twips (15 to the pixel) as the game data gives it; the scene works in
// pixels. Kinds follow the widgets the games were built from:
//  - Picture: a container with a back colour (and an optional tile painter)
//  - Image: shows a picture, stretched to its size or at the picture's size
//  - Label: text on a transparent background
//  - CheckBox: a small tick box
// Images and labels always stack beneath containers of the same parent,
// whatever order they were raised in, as the original toolkit drew them.
class Element : public QGraphicsItem {
public:
    enum class Kind { Picture, Image, Label, CheckBox };

    Element(Kind kind, QString name, QGraphicsItem* parent = nullptr);

    Kind kind() const { return m_kind; }
    const QString& name() const { return m_name; }

    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    void setGeometryTwips(int left, int top, int width, int height);
    void setLeft(int twips) { setGeometryTwips(twips, m_top, m_width, m_height); }
    void setTop(int twips) { setGeometryTwips(m_left, twips, m_width, m_height); }
    void setWidth(int twips) { setGeometryTwips(m_left, m_top, twips, m_height); }
    void setHeight(int twips) { setGeometryTwips(m_left, m_top, m_width, twips); }

    // The element's own visibility as the game set it.
    bool shown() const { return m_shown; }
    void setShown(bool shown);

    // Pictures. The element takes its size from a picture without making
    // it; the pixels are made when the element is painted or asked for them.
    bool hasPicture() const { return !m_picture.isNull(); }
    const QImage& picture() const { return m_picture.image(); }
    // The picture as it was given, made or not, to hand on to another element.
    const base::LazyImage& lazyPicture() const { return m_picture; }
    void setPicture(const base::LazyImage& picture);
    void clearPicture() { setPicture(base::LazyImage()); }
    // The file the picture came from, as the game named it (for the dump).
    const QString& pictureFile() const { return m_pictureFile; }
    void setPictureFile(const QString& file) { m_pictureFile = file; }
    void setStretch(bool stretch);
    bool stretch() const { return m_stretch; }

    // Containers.
    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor& color);
    // A picture drawn repeatedly at its own size over the whole element.
    void setTile(const QImage& tile);
    bool hasTile() const { return !m_tile.isNull(); }

    // Labels and check boxes.
    const QString& text() const { return m_text; }
    void setText(const QString& text);
    void setFont(const QFont& font);
    QFont font() const { return m_font; }
    void setForeColor(const QColor& color);
    QColor foreColor() const { return m_foreColor; }
    void setAlignment(Qt::Alignment alignment);
    int value() const { return m_value; }
    void setValue(int value);

    // A text the game keeps with the element (an object's name, a text
    // label's file), and the tip shown when the pointer rests on it.
    const QString& tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    void setToolTipText(const QString& tip) { setToolTip(tip); }

    // Labels that size themselves to their text; a centred one keeps its
    // horizontal centre.
    void setAutoSize(bool autoSize);
    bool autoSize() const { return m_autoSize; }

    // The keyboard focus drawn as a dotted frame just inside the element,
    // for windows whose buttons are elements that take no focus of their own.
    void setFocusFrame(bool shown);
    bool focusFrame() const { return m_focusFrame; }

    // Raises the element above its siblings of the same stacking band.
    void bringToFront();

    // Presses and pointer moves go through the element to whatever lies
    // beneath it (its container), as for a picture drawn inside a box that
    // takes the clicks.
    void setInputTransparent(bool transparent);

    // Handlers, called with the button and the position in twips inside the
    // element. The window decides which named handler each one calls.
    std::function<void(Qt::MouseButton, QPointF)> onPress;
    std::function<void(Qt::MouseButton, QPointF)> onRelease;
    std::function<void(Qt::MouseButtons, QPointF)> onMove;
    std::function<void(Qt::MouseButton)> onClick;
    std::function<void()> onDoubleClick;

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;

private:
    bool isContainer() const { return m_kind == Kind::Picture; }
    QPointF toTwips(QPointF pixels) const { return pixels * 15.0; }

    Kind m_kind;
    QString m_name;
    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_shown = true;
    base::LazyImage m_picture;
    QString m_pictureFile;
    bool m_stretch = false;
    QColor m_backColor = Qt::black;
    QImage m_tile;
    QString m_text;
    QFont m_font;
    QColor m_foreColor = Qt::black;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    int m_value = 0;
    bool m_pressed = false;
    QString m_tag;
    bool m_autoSize = false;
    bool m_focusFrame = false;
    // Raises of this element's children so far.
    double m_childRaises = 0;

    void fitToText();
};

} // namespace platform
