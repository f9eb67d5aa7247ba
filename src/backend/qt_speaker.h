#pragma once

#include "devices/speaker.h"

#include <QStringList>

#include <functional>
#include <memory>

class QTextToSpeech;

namespace backend {

// Speech through Qt's TextToSpeech with the system's engine (on Debian the
// speech-dispatcher plugin, qt6-speech-speechd-plugin). Texts wait their
// turn: each starts when the one before has been read. Without an engine,
// or once the engine fails, it says why once and reads nothing more; play
// goes on.
class QtSpeaker : public devices::Speaker {
public:
    explicit QtSpeaker(std::function<void(const QString&)> notice);
    ~QtSpeaker() override;

    void say(const QString& text) override;

private:
    void sayNext();
    void fail(const QString& why);

    std::function<void(const QString&)> m_notice;
    std::unique_ptr<QTextToSpeech> m_engine;
    QStringList m_waiting;
};

} // namespace backend
