#include "media/speech.h"

#include "devices/media_backend.h"
#include "devices/media_module.h"
#include "run/context.h"

#include <QJsonObject>

namespace media {

Speech::Speech(run::Context& rt, devices::MediaModule& module) : m_rt(rt), m_module(module) {}

Speech::~Speech() = default;

void Speech::say(const QString& text)
{
    if (!m_rt.options().speech)
        return;
    const QString words = text.simplified();
    if (words.isEmpty())
        return;
    if (m_rt.options().scripted) {
        m_rt.log.write(QJsonObject{{QStringLiteral("type"), QStringLiteral("speech")}, {QStringLiteral("text"), words}});
        return;
    }
    if (!m_tried) {
        m_tried = true;
        const auto notice = [this](const QString& line) { m_rt.notices.notice(line); };
        if (devices::MediaBackend* backend = m_module.backend())
            m_speaker = backend->makeSpeaker(notice);
        else
            notice(QStringLiteral("Nothing is read aloud: the media module cannot be loaded."));
    }
    if (m_speaker)
        m_speaker->say(words);
}

} // namespace media
