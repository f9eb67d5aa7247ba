#include "media/frame_texts.h"

#include "base/color.h"
#include "base/failure.h"
#include "media/frame_text_record.h"
#include "platform/scene_window.h"
#include "run/context.h"

#include <QDir>

#include <cmath>

namespace media {

FrameTexts::FrameTexts(run::Context& rt, platform::SceneWindow& window, platform::Element& picture)
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
        base::SkipOnFailure([&] {
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
        base::SkipOnFailure([&] { reader.emplace(m_rt.openReader(folder + file)); });
        auto font = [&](auto change) {
            QFont f = label->font();
            change(f);
            label->setFont(f);
        };
        if (reader) {
            const FrameTextRecord r = ReadFrameTextRecord(*reader);
            if (r.text)
                label->setText(*r.text);
            if (r.left)
                label->setLeft(*r.left);
            if (r.top)
                label->setTop(*r.top);
            font([&r](QFont& f) {
                if (r.bold)
                    f.setBold(*r.bold);
                if (r.italic)
                    f.setItalic(*r.italic);
                if (r.fontName)
                    f.setFamily(*r.fontName);
                if (r.fontSize)
                    f.setPointSizeF(*r.fontSize);
                if (r.strikeOut)
                    f.setStrikeOut(*r.strikeOut);
                if (r.underline)
                    f.setUnderline(*r.underline);
            });
            if (r.colour)
                label->setForeColor(base::ColorFromBgr(*r.colour));
        }
        label->setShown(true);
        label->bringToFront();
        m_rt.readAloud(label->text());
    }
}

void FrameTexts::ResetFrameTexts()
{
    for (int i = m_highest; i >= 1; --i)
        base::SkipOnFailure([&] { m_window.destroy(QStringLiteral("Text(%1)").arg(i)); });
    m_highest = 0;
}

} // namespace media
