#include "automation/state_dump.h"

#include "app/frm_run_from_cd.h"
#include "app/frm_welcome.h"
#include "app/player_options.h"
#include "app/runtime.h"
#include "engine/game.h"
#include "media/media.h"

#include "platform/form_window.h"
#include "saves/frm_load_game.h"
#include "saves/frm_save_game.h"
#include "saves/saved_game.h"

#include <QComboBox>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace automation {

namespace {

QJsonObject elementJson(const platform::Element& e)
{
    QJsonObject o{
        {QStringLiteral("visible"), e.shown()},
        {QStringLiteral("left"), e.left()},
        {QStringLiteral("top"), e.top()},
        {QStringLiteral("width"), e.width()},
        {QStringLiteral("height"), e.height()},
    };
    if (!e.tag().isEmpty())
        o.insert(QStringLiteral("tag"), e.tag());
    switch (e.kind()) {
    case platform::Element::Kind::Label:
        o.insert(QStringLiteral("text"), e.text());
        o.insert(QStringLiteral("font"), e.font().family());
        o.insert(QStringLiteral("size"), e.font().pointSizeF());
        o.insert(QStringLiteral("bold"), e.font().bold());
        o.insert(QStringLiteral("italic"), e.font().italic());
        o.insert(QStringLiteral("color"), e.foreColor().name());
        break;
    case platform::Element::Kind::CheckBox:
        o.insert(QStringLiteral("value"), e.value());
        break;
    case platform::Element::Kind::Image:
        o.insert(QStringLiteral("picture"), e.hasPicture());
        if (!e.pictureFile().isEmpty())
            o.insert(QStringLiteral("file"), e.pictureFile());
        break;
    case platform::Element::Kind::Picture:
        o.insert(QStringLiteral("backColor"), e.backColor().name());
        o.insert(QStringLiteral("picture"), e.hasPicture() || e.hasTile());
        break;
    }
    return o;
}

QJsonObject elementsJson(const platform::SceneWindow& window)
{
    QJsonObject elements;
    for (const auto& [name, element] : window.elements())
        elements.insert(name, elementJson(*element));
    return elements;
}

QJsonObject formJson(const platform::FormWindow& form, const QString& activeWindow)
{
    QJsonObject controls;
    for (const auto& [name, widget] : form.controls()) {
        const QRect g = widget->geometry();
        QJsonObject c{
            {QStringLiteral("visible"), !widget->isHidden()},
            {QStringLiteral("left"), g.x() * 15},
            {QStringLiteral("top"), g.y() * 15},
            {QStringLiteral("width"), g.width() * 15},
            {QStringLiteral("height"), g.height() * 15},
        };
        if (auto* label = qobject_cast<QLabel*>(widget))
            c.insert(QStringLiteral("text"), label->text());
        if (auto* button = qobject_cast<QPushButton*>(widget))
            c.insert(QStringLiteral("text"), button->text());
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            c.insert(QStringLiteral("text"), edit->text());
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            c.insert(QStringLiteral("text"), combo->currentText());
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            c.insert(QStringLiteral("items"), QJsonArray::fromStringList(items));
        }
        if (auto* list = qobject_cast<QListWidget*>(widget)) {
            QStringList items;
            for (int i = 0; i < list->count(); ++i)
                items << list->item(i)->text();
            c.insert(QStringLiteral("items"), QJsonArray::fromStringList(items));
            c.insert(QStringLiteral("text"), list->currentItem() && list->currentItem()->isSelected() ? list->currentItem()->text() : QString());
        }
        controls.insert(name, c);
    }
    return QJsonObject{
        {QStringLiteral("visible"), form.isVisible()},
        {QStringLiteral("active"), activeWindow == form.name()},
        {QStringLiteral("caption"), form.windowTitle()},
        // Where Return and Tab start from.
        {QStringLiteral("focus"), form.focusWidget() ? form.focusWidget()->objectName() : QString()},
        {QStringLiteral("elements"), controls},
    };
}

QJsonObject menuJson(const engine::MenuItem& item)
{
    return QJsonObject{{QStringLiteral("visible"), item.visible}, {QStringLiteral("text"), item.caption}};
}

QJsonObject timerJson(const platform::Timer& t)
{
    return QJsonObject{
        {QStringLiteral("enabled"), t.enabled()},
        {QStringLiteral("interval"), t.interval()},
        {QStringLiteral("tag"), t.tag()},
    };
}

QJsonArray pairs(const state::VariablesCollection& collection)
{
    QJsonArray out;
    for (const state::ClassVariable& v : collection.records())
        out.append(QJsonArray{v.Name, v.Value});
    return out;
}

QJsonObject projectJson(const app::Runtime& rt)
{
    const run::Project& p = rt.project;
    QJsonArray strings;
    for (int i = 0; i < run::InterfaceStrings::kCount; ++i)
        strings.append(rt.strings(i));
    return QJsonObject{
        {QStringLiteral("ProjectPath"), p.ProjectPath},
        {QStringLiteral("FramesPath"), p.FramesPath},
        {QStringLiteral("AreasPath"), p.AreasPath},
        {QStringLiteral("IconsPath"), p.IconsPath},
        {QStringLiteral("ConfigPath"), p.ConfigPath},
        {QStringLiteral("SchemesPath"), p.SchemesPath},
        {QStringLiteral("InventoryPath"), p.InventoryPath},
        {QStringLiteral("ProjectKey"), p.ProjectKey},
        {QStringLiteral("GameName"), p.GameName},
        {QStringLiteral("InitialFrame"), p.InitialFrame},
        {QStringLiteral("GameVersion"), p.GameVersion},
        {QStringLiteral("FrameWidth"), p.FrameWidth},
        {QStringLiteral("FrameHeight"), p.FrameHeight},
        {QStringLiteral("AuthorName"), p.AuthorName},
        {QStringLiteral("AuthorEmail"), p.AuthorEmail},
        {QStringLiteral("AuthorWebSite"), p.AuthorWebSite},
        {QStringLiteral("DisplayChangeMode"), p.DisplayChangeMode},
        {QStringLiteral("SchemeName"), p.SchemeName},
        {QStringLiteral("SingleSoundMode"), p.SingleSoundMode},
        {QStringLiteral("HideLoadButton"), p.HideLoadButton},
        {QStringLiteral("HideSaveMenu"), p.HideSaveMenu},
        {QStringLiteral("InventorySpacingX"), p.InventorySpacingX},
        {QStringLiteral("InventoryMarginY"), p.InventoryMarginY},
        {QStringLiteral("InventoryEnabled"), p.InventoryEnabled},
        {QStringLiteral("InventorySlideOpen"), p.InventorySlideOpen},
        {QStringLiteral("InventorySlideClose"), p.InventorySlideClose},
        {QStringLiteral("InventoryHideEmptyTab"), p.InventoryHideEmptyTab},
        {QStringLiteral("InventoryOpenOnPick"), p.InventoryOpenOnPick},
        {QStringLiteral("InventoryCustomPictures"), p.InventoryCustomPictures},
        {QStringLiteral("InventoryTabPicture"), p.InventoryTabPicture},
        {QStringLiteral("InventoryBackgroundPicture"), p.InventoryBackgroundPicture},
        {QStringLiteral("Resolution"), p.Resolution},
        {QStringLiteral("LogoVariant"), p.LogoVariant},
        {QStringLiteral("LogoAlternate"), p.LogoAlternate},
        {QStringLiteral("DefaultCursor"), p.DefaultCursor},
        {QStringLiteral("InterfaceStrings"), strings},
    };
}

QJsonObject welcomeJson(app::FrmWelcome& welcome, const QString& activeWindow)
{
    return QJsonObject{
        {QStringLiteral("visible"), welcome.window().isVisible()},
        {QStringLiteral("active"), activeWindow == QLatin1String("frmWelcome")},
        {QStringLiteral("caption"), welcome.caption()},
        {QStringLiteral("left"), welcome.left()},
        {QStringLiteral("top"), welcome.top()},
        {QStringLiteral("width"), welcome.width()},
        {QStringLiteral("height"), welcome.height()},
        {QStringLiteral("topMost"), welcome.topMost()},
        {QStringLiteral("backColor"), welcome.backColor().name()},
        {QStringLiteral("focus"), welcome.focusedElement()},
        {QStringLiteral("elements"), elementsJson(welcome.window())},
    };
}

// The game window as a window: its elements with the animations' state and
// the menus.
QJsonObject gameWindowJson(engine::Game& g, const QString& activeWindow)
{
    QJsonObject elements = elementsJson(g.window());
    for (const auto& [index, animation] : g.animations().animations()) {
        const QString name = QStringLiteral("AniGif(%1)").arg(index);
        QJsonObject gif = elements.value(name).toObject();
        gif.insert(QStringLiteral("speed"), animation->speedPercent() / 2);
        gif.insert(QStringLiteral("playing"), animation->playing());
        elements.insert(name, gif);
    }
    const engine::GameMenus& menus = g.menus();
    elements.insert(QStringLiteral("mnuExit"), menuJson(menus.mnuExit));
    elements.insert(QStringLiteral("mnuSaveGame"), menuJson(menus.mnuSaveGame));
    elements.insert(QStringLiteral("mnuDebug"), menuJson(menus.mnuDebug));
    for (qsizetype i = 0; i < menus.mnuFrameName.size(); ++i)
        elements.insert(QStringLiteral("mnuFrameName(%1)").arg(i + 1), menuJson(engine::MenuItem{menus.mnuFrameName[i], menus.mnuDebug.visible}));
    return QJsonObject{
        {QStringLiteral("visible"), g.visible()},
        {QStringLiteral("active"), activeWindow == QLatin1String("Game")},
        {QStringLiteral("caption"), g.window().windowTitle()},
        // The element in the ring of play without a mouse; empty: none.
        {QStringLiteral("focus"), g.keyboardFocus().focused()},
        {QStringLiteral("elements"), elements},
    };
}

// The state of the game being played.
QJsonObject gameStateJson(engine::Game& g)
{
    return QJsonObject{
        {QStringLiteral("history"), QJsonArray::fromStringList(g.FramesHistory())},
        {QStringLiteral("variables"), pairs(g.Variables)},
        {QStringLiteral("disappear"), pairs(g.Disappear)},
        {QStringLiteral("inventory"), QJsonArray::fromStringList(g.inventory().tags())},
        {QStringLiteral("timers"), QJsonObject{
            {QStringLiteral("Timer1"), timerJson(g.Timer1)},
            {QStringLiteral("TimerInventory"), timerJson(g.TimerInventory)},
            {QStringLiteral("TimerMessageBox"), timerJson(g.TimerMessageBox)},
            {QStringLiteral("MP3Timer"), timerJson(g.MP3Timer)},
            {QStringLiteral("TimerUnloadMe"), timerJson(g.TimerUnloadMe)},
        }},
        {QStringLiteral("StopVideoRequested"), g.StopVideoRequested},
        {QStringLiteral("InventoryDirection"), g.InventoryDirection},
        {QStringLiteral("InventoryMoving"), g.InventoryMoving},
        {QStringLiteral("InventoryHeldOpen"), g.InventoryHeldOpen},
        {QStringLiteral("ObjectsCount"), g.ObjectsCount},
        {QStringLiteral("DraggedObjectIndex"), g.DraggedObjectIndex},
    };
}

QJsonArray drivesJson(const platform::Drives& drives)
{
    QJsonArray list;
    for (const platform::Drives::Drive& d : drives.drives())
        list.append(QJsonObject{{QStringLiteral("letter"), QString(d.letter)}, {QStringLiteral("type"), int(d.type)}, {QStringLiteral("root"), d.root}});
    return list;
}

// The saved games the load dialog would list, by name: what a run has saved.
QJsonArray savesJson(app::Runtime& rt)
{
    QJsonArray saves;
    if (rt.project.ProjectPath.isEmpty())
        return saves;
    std::vector<QString> names = saves::SaveNames(rt);
    std::sort(names.begin(), names.end(), saves::ListedBefore);
    for (const QString& name : names)
        saves.append(name);
    return saves;
}

} // namespace

QJsonObject StateDump(app::Runtime& rt, const QString& activeWindow)
{
    QJsonObject windows;
    if (app::FrmWelcome* welcome = rt.welcomeIfLoaded())
        windows.insert(QStringLiteral("frmWelcome"), welcomeJson(*welcome, activeWindow));
    if (app::FrmRunFromCD* cd = rt.runFromCdIfLoaded())
        windows.insert(QStringLiteral("frmRunFromCD"), formJson(cd->window(), activeWindow));
    if (saves::FrmSaveGame* save = rt.saveGameIfLoaded())
        windows.insert(QStringLiteral("frmSaveGame"), formJson(save->window(), activeWindow));
    if (saves::FrmLoadGame* load = rt.loadGameIfLoaded())
        windows.insert(QStringLiteral("frmLoadGame"), formJson(load->window(), activeWindow));
    QJsonObject game;
    if (engine::Game* g = rt.gameIfLoaded()) {
        windows.insert(QStringLiteral("Game"), gameWindowJson(*g, activeWindow));
        game = gameStateJson(*g);
    }
    game.insert(QStringLiteral("frame"), rt.frame.CurrentFrameName);
    const QJsonArray drives = drivesJson(rt.drives);
    const QJsonObject media = rt.media().state();
    const QJsonArray saves = savesJson(rt);
    return QJsonObject{
        {QStringLiteral("type"), QStringLiteral("dump")},
        {QStringLiteral("time"), rt.clock().now().toString(Qt::ISODate)},
        {QStringLiteral("display"), QJsonObject{
            {QStringLiteral("width"), rt.display.mode().width()},
            {QStringLiteral("height"), rt.display.mode().height()},
            {QStringLiteral("screenWidth"), rt.display.realScreen().width()},
            {QStringLiteral("screenHeight"), rt.display.realScreen().height()},
            {QStringLiteral("modeChanges"), rt.display.modeChanges()},
            {QStringLiteral("scaling"), app::PlayerOptions::scalingName(rt.options().scaling)},
        }},
        {QStringLiteral("windows"), windows},
        {QStringLiteral("game"), game},
        {QStringLiteral("media"), media},
        {QStringLiteral("saves"), saves},
        {QStringLiteral("project"), projectJson(rt)},
        {QStringLiteral("drives"), drives},
        {QStringLiteral("CDCancelled"), rt.CDCancelled},
    };
}

} // namespace automation
