// The media command interpreter, one command a line, on the demo's media.
#include "base/event_log.h"
#include "devices/audio_device.h"
#include "devices/media_commands.h"
#include "devices/media_module.h"
#include "fuzz_support.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"

#include <QDir>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::StartQt();
    static platform::VirtualClock clock(QDateTime(QDate(2026, 1, 1), QTime(10, 0)));
    static devices::MediaModule module;
    static devices::AudioDevice audio(module, devices::AudioDevice::Options{.silent = true});
    static platform::FileResolver files;
    static base::EventLog log;
    QDir::setCurrent(fuzz::DemoCopy());
    devices::MediaCommands commands(clock, audio, files, log);
    const QStringList lines = QString::fromUtf8(fuzz::Bytes(data, size)).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        QString reply;
        commands.send(line, &reply);
    }
    log.clear();
    return 0;
}
