#include "media/frame_texts.h"

#include "app/runtime.h"
#include "platform/failure.h"
#include "platform/scene_window.h"

#include <QDir>

#include <cmath>

namespace media {

namespace {

template <typename Step>
void tryStep(Step&& step)
{
    try {
        step();
    } catch (const std::exception&) {
        // Each statement fails on its own; the next one still runs.
    }
}

int toTwips(double v)
{
    if (!std::isfinite(v) || v < -2147483648.0 || v > 2147483647.0)
        throw platform::Failure("Overflow: text position");
    return static_cast<int>(std::lround(v));
}

QColor fromBgr(std::int32_t v)
{
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
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
        tryStep([&] {
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
        std::optional<formats::QuotedFieldReader> reader;
        tryStep([&] { reader.emplace(m_rt.openReader(folder + file)); });
        auto font = [&](auto change) {
            QFont f = label->font();
            change(f);
            label->setFont(f);
        };
        tryStep([&] { label->setText(reader.value().readString()); });
        tryStep([&] { label->setLeft(toTwips(reader.value().readSingle())); });
        tryStep([&] { label->setTop(toTwips(reader.value().readSingle())); });
        tryStep([&] { const bool b = reader.value().readBoolean(); font([b](QFont& f) { f.setBold(b); }); });
        tryStep([&] { const bool b = reader.value().readBoolean(); font([b](QFont& f) { f.setItalic(b); }); });
        tryStep([&] { const QString name = reader.value().readString(); font([&name](QFont& f) { f.setFamily(name); }); });
        tryStep([&] {
            const float size = reader.value().readSingle();
            if (!(size > 0) || size > 2048)
                throw platform::Failure("Invalid property value: font size");
            font([size](QFont& f) { f.setPointSizeF(size); });
        });
        tryStep([&] { const bool b = reader.value().readBoolean(); font([b](QFont& f) { f.setStrikeOut(b); }); });
        tryStep([&] { const bool b = reader.value().readBoolean(); font([b](QFont& f) { f.setUnderline(b); }); });
        tryStep([&] { label->setForeColor(fromBgr(reader.value().readInt32())); });
        label->setShown(true);
        label->bringToFront();
    }
}

void FrameTexts::ResetFrameTexts()
{
    for (int i = m_highest; i >= 1; --i)
        tryStep([&] { m_window.destroy(QStringLiteral("Text(%1)").arg(i)); });
    m_highest = 0;
}

} // namespace media
