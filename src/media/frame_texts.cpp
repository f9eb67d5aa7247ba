#include "media/frame_texts.h"

#include "app/runtime.h"
#include "platform/color.h"
#include "platform/failure.h"
#include "platform/scene_window.h"

#include <QDir>

#include <cmath>

namespace media {

namespace {

int toTwips(double v)
{
    if (!std::isfinite(v) || v < -2147483648.0 || v > 2147483647.0)
        throw platform::Failure("Overflow: text position");
    return static_cast<int>(std::lround(v));
}

} // namespace

FrameTexts::FrameTexts(app::Runtime& rt, platform::SceneWindow& window, platform::Element& picture)
    : m_rt(rt), m_window(window), m_picture(picture)
{
}

void FrameTexts::LoadTexts()
{
    const QString folder = m_rt.project.AreasPath + m_rt.frame.CurrentFrameName + QDir::separator();
    const platform::Element* model = m_window.element(QStringLiteral("Text(0)"));
    for (const QString& file : m_rt.files.listFiles(folder, QStringLiteral(".lbl"))) {
        const int n = m_highest + 1;
        platform::Element* label = nullptr;
        platform::SkipOnFailure([&] {
            label = m_window.create(platform::Element::Kind::Label, QStringLiteral("Text(%1)").arg(n), &m_picture);
            m_highest = n;
            label->setFont(model->font());
            label->setForeColor(model->foreColor());
            label->setGeometryTwips(model->left(), model->top(), model->width(), model->height());
            label->setCursor(model->cursor());
            label->setShown(false);
            label->setAutoSize(true);
            label->setTag(folder + file);
            label->onPress = [this, n](Qt::MouseButton button, QPointF) {
                if (onPress)
                    onPress(n, button == Qt::RightButton ? 2 : 1);
            };
            label->onMove = [this, n](Qt::MouseButtons, QPointF) {
                if (onMove)
                    onMove(n);
            };
        });
        if (!label)
            continue;
        // Each property fails on its own and the next one is still read; a
        // file that cannot be opened leaves the template's properties.
        std::optional<formats::QuotedFieldReader> reader;
        platform::SkipOnFailure([&] { reader.emplace(m_rt.openReader(folder + file)); });
        auto font = [&](auto change) {
            QFont f = label->font();
            change(f);
            label->setFont(f);
        };
        if (reader) {
            platform::SkipOnFailure([&] { label->setText(reader->readString()); });
            platform::SkipOnFailure([&] { label->setLeft(toTwips(reader->readSingle())); });
            platform::SkipOnFailure([&] { label->setTop(toTwips(reader->readSingle())); });
            platform::SkipOnFailure([&] { const bool b = reader->readBoolean(); font([b](QFont& f) { f.setBold(b); }); });
            platform::SkipOnFailure([&] { const bool b = reader->readBoolean(); font([b](QFont& f) { f.setItalic(b); }); });
            platform::SkipOnFailure([&] { const QString name = reader->readString(); font([&name](QFont& f) { f.setFamily(name); }); });
            platform::SkipOnFailure([&] {
                const float size = reader->readSingle();
                if (!(size > 0) || size > 2048)
                    throw platform::Failure("Invalid property value: font size");
                font([size](QFont& f) { f.setPointSizeF(size); });
            });
            platform::SkipOnFailure([&] { const bool b = reader->readBoolean(); font([b](QFont& f) { f.setStrikeOut(b); }); });
            platform::SkipOnFailure([&] { const bool b = reader->readBoolean(); font([b](QFont& f) { f.setUnderline(b); }); });
            platform::SkipOnFailure([&] { label->setForeColor(platform::ColorFromBgr(reader->readInt32())); });
        }
        label->setShown(true);
        label->bringToFront();
    }
}

void FrameTexts::ResetFrameTexts()
{
    for (int i = m_highest; i >= 1; --i)
        platform::SkipOnFailure([&] { m_window.destroy(QStringLiteral("Text(%1)").arg(i)); });
    m_highest = 0;
}

} // namespace media
