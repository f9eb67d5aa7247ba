#include "media/text_messages.h"

#include "base/failure.h"
#include "platform/scene_window.h"
#include "platform/timer.h"
#include "run/context.h"

namespace media {

TextMessages::TextMessages(run::Context& rt, platform::SceneWindow& window, platform::Timer& timer)
    : m_rt(rt), m_window(window), m_timer(timer)
{
}

void TextMessages::ShowTextMessage(const QString& message, bool inStrip)
{
    if (!inStrip) {
        m_rt.msgBox(m_rt.project.GameName, message, platform::MsgIcon::Information);
        return;
    }
    try {
        platform::Element* strip = m_window.element(QStringLiteral("FrameMessageBox"));
        platform::Element* label = m_window.element(QStringLiteral("LabelMessageBox"));
        const platform::Element* picture = m_window.element(QStringLiteral("PictureBox"));
        strip->setLeft(0);
        strip->setWidth(picture->width());
        label->setAutoSize(true);
        label->setText(QString());
        label->setLeft(strip->width() / 2);
        label->setText(message);
        strip->setHeight(label->height() + 525);
        strip->setTop(picture->height() - strip->height());
        label->setShown(true);
        strip->setShown(true);
        strip->bringToFront();
        m_rt.readAloud(message);
        m_timer.setInterval(static_cast<long long>(message.size()) * 70 + 1000);
        m_timer.setEnabled(false);
        m_timer.setEnabled(true);
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to display text message."));
    }
}

void TextMessages::closeStrip()
{
    m_window.element(QStringLiteral("FrameMessageBox"))->setShown(false);
    m_window.element(QStringLiteral("LabelMessageBox"))->setShown(false);
    m_timer.setEnabled(false);
    m_timer.setInterval(0);
}

} // namespace media
