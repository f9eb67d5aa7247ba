#include "engine/areas.h"

#include "base/failure.h"
#include "engine/area_record.h"
#include "engine/cursors.h"
#include "engine/game.h"
#include "media/animated_pictures.h"
#include "media/media.h"
#include "run/context.h"
#include "run/media_names.h"

#include <QDir>

namespace engine {

namespace {

QString areaName(int i)
{
    return QStringLiteral("Area(%1)").arg(i);
}

} // namespace

Areas::Areas(run::Context& rt, Game& game, media::AnimatedPictures& animations)
    : m_rt(rt), m_game(game), m_animations(animations)
{
}

QString Areas::areaFolder() const
{
    return m_rt.project.AreasPath + m_rt.frame.CurrentFrameName + QDir::separator();
}

std::int32_t Areas::aniGifIndex(std::int16_t area) const
{
    auto it = m_aniGifIndex.find(area);
    return it == m_aniGifIndex.end() ? 0 : it->second;
}

void Areas::wireArea(std::int16_t i)
{
    platform::Element* area = m_game.element(areaName(i));
    area->onPress = [this, i](Qt::MouseButton button, QPointF) {
        Area_MouseDown(i, button == Qt::RightButton ? 2 : button == Qt::MiddleButton ? 4 : 1);
    };
    area->onMove = [this](Qt::MouseButtons, QPointF) { m_game.inventoryBar().PointerMoved(2); };
}

void Areas::loadArea(std::int16_t i)
{
    auto reader = m_rt.openReader(areaFolder() + QString::number(i) + QStringLiteral("a.dat"));
    const AreaPlacement a = ReadAreaPlacement(reader);
    const bool hasPicture = a.hasPicture();
    auto twips = [](double v) {
        if (v < -32768 || v > 32767)
            throw base::Failure("Overflow: area position");
        return static_cast<int>(v);
    };
    const platform::Element* templateArea = m_game.element(areaName(0));
    platform::Element* area = m_game.window().create(platform::Element::Kind::Image, areaName(i), m_game.element(QStringLiteral("PictureBox")));
    area->setShown(false);
    area->setCursor(templateArea->cursor());
    m_highestArea = std::max(m_highestArea, i);
    wireArea(i);
    if (a.isAnimated()) {
        area->clearPicture();
        area->setGeometryTwips(0, 0, 15, 15);
        auto pick = m_rt.openReader(areaFolder() + QString::number(i) + QStringLiteral("c.dat"));
        const double speed = ReadAnimationSpeed(pick);
        const double roundedSpeed = std::nearbyint(speed);
        if (roundedSpeed < -32768 || roundedSpeed > 32767)
            throw base::Failure("Overflow: animation speed");
        const std::int16_t index = m_animations.AniGifNewWithIndex(
            i, run::MapMediaFileName(m_rt, m_rt.project.AreasPath + a.picture), static_cast<std::int16_t>(twips(a.left.toNumber() + 30)),
            static_cast<std::int16_t>(twips(a.top.toNumber() + 30)), static_cast<std::int16_t>(roundedSpeed));
        m_aniGifIndex[i] = index;
        if (platform::Element* box = m_animations.AniGifBox(index)) {
            box->onPress = [this, index](Qt::MouseButton button, QPointF) {
                AniGifBox_MouseDown(index, button == Qt::RightButton ? 2 : 1);
            };
            box->onMove = [this](Qt::MouseButtons, QPointF) { m_game.inventoryBar().PointerMoved(2); };
            if (!IsDefaultCursorName(a.cursor))
                box->setCursor(LoadCursorFile(m_rt, run::MapMediaFileName(m_rt, m_rt.project.IconsPath + a.cursor)));
            else
                ApplyDefaultCursor(m_rt, *box);
        }
        return;
    }
    const double w = a.width.toNumber() - 60;
    const double h = a.height.toNumber() - 60;
    area->setGeometryTwips(twips(a.left.toNumber() + 30), twips(a.top.toNumber() + 30), twips(w >= 1 ? w : 1), twips(h >= 1 ? h : 1));
    area->setStretch(a.stretch.toNumber() == 1);
    if (hasPicture) {
        const QString path = run::MapMediaFileName(m_rt, m_rt.project.AreasPath + a.picture);
        area->setPicture(m_rt.LoadPicture(path));
        area->setPictureFile(a.picture);
    } else {
        area->clearPicture();
    }
    if (!IsDefaultCursorName(a.cursor))
        area->setCursor(LoadCursorFile(m_rt, run::MapMediaFileName(m_rt, m_rt.project.IconsPath + a.cursor)));
    else
        ApplyDefaultCursor(m_rt, *area);
    area->bringToFront();
}

void Areas::LoadAreas()
{
    const std::int16_t count = m_rt.frame.FrameAreaCount;
    for (std::int16_t i = 1; i >= 1 && i <= count; ++i) {
        try {
            loadArea(i);
        } catch (const base::Failure&) {
            m_rt.ShowErrorReport(QStringLiteral(" Unable to load area #%1 (out of %2).").arg(i).arg(count));
        }
    }
}

bool Areas::areaShown(std::int16_t i)
{
    for (const state::ClassVariable& removed : m_game.Disappear.records()) {
        if (removed.Name == m_rt.frame.CurrentFrameName && removed.Value == i)
            return false;
    }
    auto reader = m_rt.openReader(areaFolder() + QString::number(i) + QStringLiteral("a.dat"));
    for (int k = 0; k < 9; ++k)
        reader.skip();
    if (!ReadAreaHasConditions(reader))
        return true;
    // A list stops at the first variable that does not hold its value; an
    // undeclared one (-1) never hides the area.
    auto listHolds = [&](std::int16_t wanted) {
        return ReadConditionList(reader, [&](const QString& name) {
            const std::int16_t v = m_game.GetVariableValue(name);
            return v == wanted || v == -1;
        });
    };
    return listHolds(0) && listHolds(1);
}

void Areas::ShowOrNotShowAreas()
{
    const std::int16_t count = m_rt.frame.FrameAreaCount;
    for (std::int16_t i = 1; i >= 1 && i <= count; ++i) {
        bool shown = false;
        try {
            shown = areaShown(i);
            platform::Element* area = m_game.element(areaName(i));
            if (!area)
                throw base::Failure("Control array element does not exist");
            area->setShown(shown);
        } catch (const base::Failure&) {
            m_rt.msgBox(m_rt.strings(29), m_rt.strings(30), platform::MsgIcon::Critical);
            return;
        }
        try {
            const std::int32_t k = aniGifIndex(i);
            if (k <= 0 || k > 32767)
                continue;
            platform::Element* box = m_animations.AniGifBox(static_cast<std::int16_t>(k));
            platform::Animation* animation = m_animations.AniGif(static_cast<std::int16_t>(k));
            if (!box)
                continue;
            // Events run in between: a frame timer may open another frame
            // and unload these areas, which ends this refresh.
            const unsigned resets = m_resets;
            if (box->shown() && !shown && animation) {
                animation->stop();
                m_rt.clock().doEvents();
            } else if (!box->shown() && shown && animation) {
                animation->stop();
                m_rt.clock().doEvents();
                if (resets != m_resets)
                    return;
                animation->play();
                m_rt.clock().doEvents();
            }
            if (resets != m_resets)
                return;
            box->setShown(shown);
        } catch (const std::exception&) {
            // Failures of the animation step are ignored.
        }
    }
}

void Areas::ResetFrameAreas()
{
    ++m_resets;
    try {
        for (std::int16_t i = m_highestArea; i >= 1; --i)
            m_game.window().destroy(areaName(i));
        m_highestArea = 0;
        m_aniGifIndex.clear();
        for (std::int16_t k = m_animations.highestIndex(); k >= 1; k = m_animations.highestIndex()) {
            if (platform::Element* box = m_animations.AniGifBox(k))
                box->setShown(false);
            m_animations.unloadAniGif(k);
        }
        for (std::int16_t k = m_animations.highestBoxIndex(); k >= 1; k = m_animations.highestBoxIndex())
            m_animations.unloadAniGifBox(k);
    } catch (const std::exception&) {
        // Removing the areas never stops the frame from opening.
    }
}

void Areas::AreaClick(std::int16_t index, std::int16_t button)
{
    m_game.StopVideoRequested = true;
    if (m_game.media().IsVideoPlaying())
        return;
    if (button == 2) {
        if (!m_game.menus().open())
            m_game.ShowMenus();
        else
            m_game.HideMenus();
        return;
    }
    m_game.HideMenus();
    m_game.PickOrNotPickObject(index);
    const std::int16_t result = m_game.MakeAction(index, 0);
    platform::Element* cutScene = m_game.element(QStringLiteral("CutSceneArea"));
    if (result == 2) {
        cutScene->setShown(false);
        m_game.media().StopMovie();
        return;
    }
    ShowOrNotShowAreas();
    cutScene->setShown(false);
    m_game.media().StopMovie();
    if (result == 1)
        m_game.Form_Unload();
}

void Areas::Area_MouseDown(std::int16_t index, std::int16_t button)
{
    AreaClick(index, button);
    // Let the press settle while other handlers run, without using CPU.
    m_rt.clock().sleep(100);
    m_game.window().unsetCursor();
}

void Areas::AniGifBox_MouseDown(std::int16_t index, std::int16_t button)
{
    AreaClick(index, button);
}

} // namespace engine
