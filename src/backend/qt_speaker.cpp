#include "backend/qt_speaker.h"

#include <QTextToSpeech>

namespace backend {

QtSpeaker::QtSpeaker(std::function<void(const QString&)> notice) : m_notice(std::move(notice))
{
    if (QTextToSpeech::availableEngines().isEmpty()) {
        fail(QStringLiteral("no speech engine is installed (Debian's qt6-speech-speechd-plugin)"));
        return;
    }
    m_engine = std::make_unique<QTextToSpeech>();
    if (m_engine->state() == QTextToSpeech::Error) {
        fail(m_engine->errorString());
        return;
    }
    QObject::connect(m_engine.get(), &QTextToSpeech::stateChanged, m_engine.get(), [this](QTextToSpeech::State state) {
        if (state == QTextToSpeech::Ready)
            sayNext();
        else if (state == QTextToSpeech::Error)
            fail(m_engine->errorString());
    });
}

QtSpeaker::~QtSpeaker() = default;

void QtSpeaker::fail(const QString& why)
{
    // One notice: without its engine the speaker reads nothing more. The
    // engine may be the sender of the signal being handled: Qt frees it
    // once that is over.
    m_waiting.clear();
    if (m_engine) {
        m_engine->disconnect();
        m_engine.release()->deleteLater();
    }
    if (m_notice)
        m_notice(QStringLiteral("Nothing is read aloud: %1.").arg(why.isEmpty() ? QStringLiteral("the speech service does not answer") : why));
}

void QtSpeaker::say(const QString& text)
{
    if (!m_engine)
        return;
    m_waiting.append(text);
    if (m_engine->state() == QTextToSpeech::Ready)
        sayNext();
}

void QtSpeaker::sayNext()
{
    if (!m_engine || m_waiting.isEmpty())
        return;
    m_engine->say(m_waiting.takeFirst());
}

} // namespace backend
