#include "state/inventory.h"

#include "base/failure.h"
#include "engine/area_record.h"
#include "engine/game.h"
#include "media/media.h"
#include "run/context.h"
#include "run/media_names.h"
#include "state/inventory_bar.h"
#include "state/object_records.h"

#include <QDir>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace state {

namespace {

QString objectName(int i)
{
    return QStringLiteral("PickedObject(%1)").arg(i);
}

} // namespace

Inventory::Inventory(run::Context& rt, engine::Game& game, InventoryBar& bar) : m_rt(rt), m_game(game), m_bar(bar) {}

Inventory::~Inventory()
{
    putBack();
}

platform::Element* Inventory::object(std::int16_t index) const
{
    return index >= 1 ? m_game.element(objectName(index)) : nullptr;
}

QString Inventory::Tag(std::int16_t index) const
{
    const platform::Element* e = object(index);
    if (!e)
        throw base::Failure(QStringLiteral("Control array element '%1' doesn't exist").arg(index));
    return e->tag();
}

QStringList Inventory::tags() const
{
    QStringList out;
    for (std::int16_t i = 1; i <= m_game.ObjectsCount; ++i) {
        if (const platform::Element* e = object(i))
            out << e->tag();
    }
    return out;
}

QPointF Inventory::cell(int n) const
{
    const run::Project& p = m_rt.project;
    const long long cellWidth = static_cast<long long>(p.InventorySpacingX) * 15 + 480;
    const long long cellHeight = static_cast<long long>(p.InventoryMarginY) * 15 + 480;
    const long long perRow = cellWidth > 0 ? (static_cast<long long>(p.FrameWidth) * 15) / cellWidth : 0;
    if (perRow <= 0)
        throw base::Failure("Division by zero: no object fits a row");
    const long long column = (n - 1) % perRow;
    const long long row = (n - 1) / perRow;
    const double left = column * static_cast<double>(cellWidth) + p.InventorySpacingX * 15.0;
    const double top = row * static_cast<double>(cellHeight) + p.InventoryMarginY * 15.0;
    // Places are twips of the 32-bit range; margins beyond reason are bad data.
    if (cellHeight <= 0 || std::fabs(left) > 2147483647.0 || std::fabs(top) > 2147483647.0)
        throw base::Failure("Overflow: inventory cell");
    return QPointF(left, top);
}

int Inventory::barHeight(int count) const
{
    const run::Project& p = m_rt.project;
    const double cellHeight = p.InventoryMarginY * 15.0 + 480;
    const double rowOfLast = (cell(count).y() - p.InventoryMarginY * 15.0) / cellHeight;
    const double height = (rowOfLast + 1) * cellHeight + p.InventoryMarginY * 15.0;
    if (!std::isfinite(height) || height > 2147483647.0 || height < 0)
        throw base::Failure("Overflow: inventory bar height");
    return static_cast<int>(height);
}

void Inventory::reset()
{
    m_game.ObjectsCount = 0;
    for (int i = m_elements; i >= 1; --i)
        m_game.window().destroy(objectName(i));
    m_elements = 0;
}

void Inventory::setContainer(platform::Element& container)
{
    m_container = &container;
    m_game.element(objectName(0))->setParentItem(&container);
}

void Inventory::PickOrNotPickObject(std::int16_t area)
{
    try {
        auto reader = m_rt.openReader(m_rt.project.AreasPath + m_rt.frame.CurrentFrameName + QDir::separator()
                                      + QString::number(area) + QStringLiteral("c.dat"));
        if (const std::optional<QString> name = engine::ReadPickedObjectName(reader))
            AddPickedObject(*name);
    } catch (const base::Failure&) {
        // An area without a pick record holds no object.
    }
}

void Inventory::layOutBarFor(int count)
{
    platform::Element* bar = m_game.element(QStringLiteral("Inventory1"));
    platform::Element* background = m_game.element(QStringLiteral("Inventory_Background"));
    bar->setHeight(barHeight(count));
    if (background->shown())
        background->setGeometryTwips(0, bar->height() - background->height(), background->width(), background->height());
}

void Inventory::AddPickedObject(const QString& name)
{
    const run::Project& p = m_rt.project;
    try {
        m_game.TimerInventory.setEnabled(false);
        QString pictureFile;
        {
            auto reader = m_rt.openReader(p.AreasPath + name + QStringLiteral(".obj"));
            pictureFile = ReadObjectPicture(reader);
        }
        const std::int16_t n = static_cast<std::int16_t>(m_game.ObjectsCount + 1);
        const platform::Element* model = m_game.element(objectName(0));
        platform::Element* container = m_container ? m_container : m_game.element(QStringLiteral("Inventory1"));
        platform::Element* e = m_game.window().create(platform::Element::Kind::Image, objectName(n), container);
        m_game.ObjectsCount = n;
        m_elements = std::max<int>(m_elements, n);
        e->setCursor(model->cursor());
        e->setShown(false);
        const QPointF at = cell(n);
        e->setGeometryTwips(static_cast<int>(at.x()), static_cast<int>(at.y()), 480, 480);
        e->onPress = [this, n](Qt::MouseButton button, QPointF) {
            PickedObject_MouseDown(n, button == Qt::RightButton ? 2 : 1);
        };
        e->onMove = [this, e](Qt::MouseButtons buttons, QPointF pos) {
            if (m_dragIcon && (buttons & Qt::LeftButton))
                dragTo(e->mapToScene(pos / 15.0));
            else
                m_bar.PointerMoved(1);
        };
        e->onRelease = [this, e](Qt::MouseButton button, QPointF pos) {
            if (button == Qt::LeftButton && m_dragIcon)
                dropAt(e->mapToScene(pos / 15.0));
        };
        e->setPicture(m_rt.LoadPicture(run::MapMediaFileName(m_rt, p.AreasPath + pictureFile)));
        e->setPictureFile(pictureFile);
        e->setToolTipText(name);
        e->setTag(name);
        e->setShown(true);
        e->bringToFront();
        if (p.InventoryEnabled) {
            platform::Element* bar = m_game.element(QStringLiteral("Inventory1"));
            if (!m_game.InventoryMoving)
                bar->setTop(-barHeight(n));
            layOutBarFor(n);
            m_game.element(QStringLiteral("Inventory2"))->setShown(true);
        }
        if (p.InventoryOpenOnPick) {
            m_game.InventoryHeldOpen = true;
            m_game.InventoryDirection = 1;
            if (!m_game.InventoryMoving && p.InventoryEnabled)
                m_bar.Inventory_Move();
            m_game.TimerInventory.setEnabled(false);
            m_game.TimerInventory.setEnabled(true);
        }
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to pick up '") + name + QStringLiteral("'."));
    }
}

void Inventory::RemovePickedObject(std::int16_t index)
{
    const run::Project& p = m_rt.project;
    try {
        if (!object(index) || index > m_game.ObjectsCount)
            throw base::Failure(QStringLiteral("Control array element '%1' doesn't exist").arg(index));
        for (std::int16_t k = index; k < m_game.ObjectsCount; ++k) {
            platform::Element* here = object(k);
            const platform::Element* next = object(static_cast<std::int16_t>(k + 1));
            if (!here || !next)
                throw base::Failure("Control array element doesn't exist");
            here->setPicture(next->lazyPicture());
            here->setPictureFile(next->pictureFile());
            here->setTag(next->tag());
            here->setToolTipText(next->toolTip());
        }
        m_game.window().destroy(objectName(m_game.ObjectsCount));
        if (m_elements == m_game.ObjectsCount)
            --m_elements;
        m_game.ObjectsCount = static_cast<std::int16_t>(m_game.ObjectsCount - 1);
        if (p.InventoryEnabled && m_game.ObjectsCount >= 1)
            layOutBarFor(m_game.ObjectsCount);
        if (p.InventoryEnabled && p.InventoryHideEmptyTab && m_game.ObjectsCount == 0)
            m_game.element(QStringLiteral("Inventory2"))->setShown(false);
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to remove the item from the inventory."));
    }
}

void Inventory::PickedObject_MouseDown(std::int16_t index, std::int16_t button)
{
    m_game.StopVideoRequested = true;
    if (m_game.media().IsVideoPlaying())
        return;
    if (button == 2) {
        if (m_game.menus().mnuExit.visible)
            m_game.HideMenus();
        else
            m_game.ShowMenus();
        return;
    }
    m_game.HideMenus();
    if (button != 1)
        return;
    m_game.DraggedObjectIndex = index;
    // The pointer carries the object's picture until the button comes up.
    platform::Element* source = object(index);
    if (!source || !source->scene())
        return;
    m_dragIcon = std::make_unique<QGraphicsPixmapItem>(QPixmap::fromImage(source->picture()));
    m_dragIcon->setOpacity(0.85);
    m_dragIcon->setZValue(1e9);
    m_dragIcon->setAcceptedMouseButtons(Qt::NoButton);
    m_dragIcon->setAcceptHoverEvents(false);
    source->scene()->addItem(m_dragIcon.get());
    dragTo(source->sceneBoundingRect().center());
}

void Inventory::dragTo(QPointF scenePos)
{
    if (!m_dragIcon)
        return;
    const QRectF box = m_dragIcon->boundingRect();
    m_dragIcon->setPos(scenePos - box.center());
}

void Inventory::putBack()
{
    if (m_dragIcon && m_dragIcon->scene())
        m_dragIcon->scene()->removeItem(m_dragIcon.get());
    m_dragIcon.reset();
}

void Inventory::dropAt(QPointF scenePos)
{
    QGraphicsScene* scene = m_dragIcon ? m_dragIcon->scene() : nullptr;
    putBack();
    if (!scene)
        return;
    // The element under the pointer, as the drop target.
    static const QRegularExpression indexed(QStringLiteral("^(\\w+)\\((\\d+)\\)$"));
    for (QGraphicsItem* item : scene->items(scenePos, Qt::IntersectsItemShape, Qt::DescendingOrder)) {
        auto* e = dynamic_cast<platform::Element*>(item);
        if (!e || !e->isVisible())
            continue;
        const QRegularExpressionMatch m = indexed.match(e->name());
        if (!m.hasMatch())
            return; // dropped on the frame: nothing happens
        const QString array = m.captured(1);
        const auto index = static_cast<std::int16_t>(m.captured(2).toInt());
        if (array == QLatin1String("Area"))
            Area_DragDrop(index, QStringLiteral("PickedObject"));
        else if (array == QLatin1String("AniGifBox") || array == QLatin1String("AniGif"))
            AniGif_DragDrop(index, QStringLiteral("PickedObject"));
        else if (array == QLatin1String("PickedObject"))
            PickedObject_DragDrop(index, QStringLiteral("PickedObject"));
        return;
    }
}

void Inventory::PickedObject_DragDrop(std::int16_t target, const QString& source)
{
    if (source != QLatin1String("PickedObject") || target == m_game.DraggedObjectIndex)
        return;
    try {
        const std::int16_t dragged = m_game.DraggedObjectIndex;
        const QString record = m_rt.project.AreasPath + Tag(dragged) + QStringLiteral("_on_") + Tag(target) + QStringLiteral(".drg");
        std::optional<QByteArray> bytes = m_rt.files.tryReadAll(record, platform::FileResolver::kRecordFileLimit);
        if (!bytes)
            return;
        formats::QuotedFieldReader reader(*bytes, m_rt.codePage);
        const CombinationRecord c = ReadCombinationRecord(reader, [&](int field, const CombinationRecord& read) {
            if (field == 1 && read.removeDragged)
                RemovePickedObject(dragged);
            if (field == 2 && read.removeTarget)
                RemovePickedObject(read.removeDragged && dragged < target ? static_cast<std::int16_t>(target - 1) : target);
        });
        if (c.addObject)
            AddPickedObject(c.newObject);
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to combine items."));
    }
}

void Inventory::Area_DragDrop(std::int16_t area, const QString& source)
{
    if (source.toLower() != QLatin1String("pickedobject"))
        return;
    const std::int16_t r = m_game.MakeAction(area, m_game.DraggedObjectIndex);
    if (r == 1)
        m_game.Form_Unload();
    else if (r != 2)
        m_game.ShowOrNotShowAreas();
}

void Inventory::AniGif_DragDrop(std::int16_t index, const QString& source)
{
    Area_DragDrop(index, source);
}

} // namespace state
