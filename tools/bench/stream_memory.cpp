// The cost of a sound as it plays, whatever its length: opens and plays one
// video (MS Video 1 pictures with 44.1 kHz PCM sound) or one MP3 piece for two
// seconds on a silent output with the real clock, then prints the peak
// resident memory of the process and, for a video, the time from the open to
// its first picture. tools/bench/stream_memory.sh makes the files (2 s, 60 s
// and 600 s) and runs each case in a process of its own. Goals: peak memory
// the same for every length, within 10 MB, and the first picture within one
// frame period (67 ms at 15 frames a second) of the open. A wave (played
// through a waveaudio device) can be measured alike.
//   stream_memory video|music|wave FILE
#include "base/event_log.h"
#include "bench/cpu_time.h"
#include "devices/audio_device.h"
#include "devices/media_commands.h"
#include "devices/media_module.h"
#include "devices/mp3_library.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <thread>

#include <sys/resource.h>

namespace {

double peakMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;
}

int playWave(platform::Clock& clock, devices::AudioDevice& audio, const QString& file)
{
    platform::FileResolver files;
    base::EventLog log;
    devices::MediaCommands commands(clock, audio, files, log);
    const int opened = commands.send(QStringLiteral("open %1 alias clip type waveaudio").arg(file));
    if (opened == 0)
        commands.send(QStringLiteral("play clip from 0"));
    bench::idle(2000);
    std::printf("%s, peak memory %.1f MB\n", opened == 0 ? "played" : "refused", peakMb());
    return 0;
}

int playVideo(platform::Clock& clock, devices::AudioDevice& audio, const QString& file)
{
    platform::FileResolver files;
    base::EventLog log;
    devices::MediaCommands commands(clock, audio, files, log);
    QElapsedTimer sinceOpen;
    qint64 firstPictureMs = -1;
    commands.onVideoFrame = [&](qint64, const QImage&) {
        if (firstPictureMs < 0)
            firstPictureMs = sinceOpen.elapsed();
    };
    sinceOpen.start();
    if (commands.send(QStringLiteral("open %1 alias scene type avivideo").arg(file)) != 0
        || commands.send(QStringLiteral("play scene from 0")) != 0) {
        std::fprintf(stderr, "stream_memory: cannot play %s\n", qPrintable(file));
        return 1;
    }
    bench::idle(2000);
    std::printf("first picture %lld ms, peak memory %.1f MB\n", static_cast<long long>(firstPictureMs), peakMb());
    return 0;
}

int playMusic(platform::Clock& clock, devices::AudioDevice& audio, const QString& file)
{
    platform::FileResolver files;
    base::EventLog log;
    devices::Mp3Library library(clock, audio, files, log);
    double lengthMs = 0;
    if (!library.gettime(file, lengthMs)) {
        std::fprintf(stderr, "stream_memory: cannot play %s\n", qPrintable(file));
        return 1;
    }
    // The library's play blocks its thread until the piece ends or stops.
    std::thread worker([&library, &file, ticket = library.ticket()] { library.play(file, ticket, [] {}); });
    bench::idle(2000);
    library.stop();
    worker.join();
    std::printf("length %.0f ms, peak memory %.1f MB\n", lengthMs, peakMb());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString kind = argc == 3 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (kind != QLatin1String("video") && kind != QLatin1String("music") && kind != QLatin1String("wave")) {
        std::fprintf(stderr, "usage: stream_memory video|music|wave FILE\n");
        return 2;
    }
    platform::RealClock clock;
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.silent = true});
    const QString file = QString::fromLocal8Bit(argv[2]);
    if (kind == QLatin1String("video"))
        return playVideo(clock, audio, file);
    return kind == QLatin1String("music") ? playMusic(clock, audio, file) : playWave(clock, audio, file);
}
