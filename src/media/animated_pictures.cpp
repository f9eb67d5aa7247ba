#include "media/animated_pictures.h"

#include "base/failure.h"
#include "platform/scene_window.h"
#include "run/context.h"

namespace media {

namespace {
QString boxName(int index)
{
    return QStringLiteral("AniGifBox(%1)").arg(index);
}
QString gifName(int index)
{
    return QStringLiteral("AniGif(%1)").arg(index);
}
} // namespace

AnimatedPictures::AnimatedPictures(run::Context& rt, platform::SceneWindow& window, platform::Element& parent)
    : m_rt(rt), m_window(window), m_parent(parent)
{
}

AnimatedPictures::~AnimatedPictures() = default;

platform::Animation* AnimatedPictures::AniGif(std::int16_t index) const
{
    auto it = m_animations.find(index);
    return it == m_animations.end() ? nullptr : it->second.get();
}

platform::Element* AnimatedPictures::AniGifBox(std::int16_t index) const
{
    auto it = m_boxes.find(index);
    return it == m_boxes.end() ? nullptr : it->second;
}

std::int16_t AnimatedPictures::AniGifNewWithIndex(std::int16_t index, const QString& file, std::int16_t left, std::int16_t top,
                                                  std::int16_t speed)
{
    if (file.isEmpty() || index < 1)
        return 0;
    if (m_boxes.count(index) || m_animations.count(index))
        throw base::Failure(QStringLiteral("Object already loaded: AniGifBox(%1)").arg(index));
    const platform::Element* templateBox = m_window.element(boxName(0));
    platform::Element* box = m_window.create(platform::Element::Kind::Picture, boxName(index), &m_parent);
    box->setShown(false);
    box->setBackColor(Qt::transparent);
    box->setCursor(templateBox->cursor());
    box->setGeometryTwips(left, top, templateBox->width(), templateBox->height());
    platform::Element* gif = m_window.create(platform::Element::Kind::Image, gifName(index), box);
    gif->setShown(false);
    // The box takes the clicks and the pointer moves of its picture.
    gif->setInputTransparent(true);
    m_boxes[index] = box;
    m_animations[index] = std::make_unique<platform::Animation>(*gif);
    box->bringToFront();
    AniGifUpdate(index, file, speed);
    return index;
}

void AnimatedPictures::AniGifUpdate(std::int16_t index, const QString& file, std::int16_t speed)
{
    try {
        platform::Animation* animation = AniGif(index);
        platform::Element* box = AniGifBox(index);
        platform::Element* gif = m_window.element(gifName(index));
        if (!animation || !box || !gif)
            throw base::Failure("Object not loaded");
        const auto resolved = m_rt.files.resolve(file);
        if (!resolved || !m_rt.files.fileExists(file))
            return;
        gif->setPictureFile(file);
        animation->setFile(QString::fromStdString(resolved->string()));
        gif->setGeometryTwips(0, 0, gif->width(), gif->height());
        animation->setSpeedPercent(speedPercent(speed));
        animation->play();
        gif->setShown(true);
        box->setGeometryTwips(box->left(), box->top(), gif->width(), gif->height());
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to load '") + file + QStringLiteral("'."));
    }
}

void AnimatedPictures::unloadAniGif(std::int16_t index)
{
    m_animations.erase(index);
    m_window.destroy(gifName(index));
}

void AnimatedPictures::unloadAniGifBox(std::int16_t index)
{
    // An animation still inside goes with its box.
    m_animations.erase(index);
    m_boxes.erase(index);
    m_window.destroy(boxName(index));
}

} // namespace media
