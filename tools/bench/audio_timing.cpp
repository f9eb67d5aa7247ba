// Two timings of the sound output, on the machine's audio device (or the
// silent output when it has none), at the default buffer of 1024 frames:
//  - from a channel's play call to its first sample leaving the mixer (goal
//    at most 50 ms), over 20 plays;
//  - the gap of a looping MIDI piece at its restart: from the end of its
//    tempo map to the moment it starts again (goal at most 20 ms), over 10
//    loops of a half-second piece.
// Prints the median and the largest of each.
//   audio_timing
#include "base/event_log.h"
#include "demo/authoring.h"
#include "devices/audio_device.h"
#include "devices/media_commands.h"
#include "devices/media_module.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

namespace {

QElapsedTimer g_since;
std::atomic<qint64> g_firstSoundNs{-1};

// Runs on the audio thread after each mix: notes when sound first leaves.
void afterMix(void*, Uint8* stream, int length)
{
    if (g_firstSoundNs.load() >= 0)
        return;
    const auto* samples = reinterpret_cast<const Sint16*>(stream);
    for (int i = 0; i < length / 2; ++i) {
        if (samples[i] != 0) {
            g_firstSoundNs = g_since.nsecsElapsed();
            return;
        }
    }
}

void report(const char* what, std::vector<double> ms, double goal)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %6.2f ms, largest %6.2f ms (goal %.0f ms)\n", what, ms[ms.size() / 2], ms.back(), goal);
}

// Receives the end notices of the piece and starts it again at once, as the
// game window's music does.
class Looper : public QObject {
public:
    Looper(devices::MediaCommands& commands, platform::Clock& clock, QString file) : m_commands(commands), m_clock(clock), m_file(std::move(file)) {}
    bool event(QEvent* e) override
    {
        if (e->type() != devices::MediaCommands::Notice::kType)
            return QObject::event(e);
        gaps.push_back(double(m_clock.elapsedMs()) - double(expectedEnd));
        expectedEnd = m_clock.elapsedMs() + lengthMs;
        m_commands.send(QStringLiteral("play %1 from 0 notify").arg(m_file), nullptr, this);
        return true;
    }
    std::vector<double> gaps;
    qint64 expectedEnd = 0;
    qint64 lengthMs = 0;

private:
    devices::MediaCommands& m_commands;
    platform::Clock& m_clock;
    QString m_file;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    g_since.start();
    platform::RealClock clock;
    base::EventLog log;
    platform::FileResolver files;
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.notice = [](const QString& text) { std::printf("(%s)\n", qPrintable(text)); }});
    if (!audio.open())
        return 1;
    Mix_SetPostMix(afterMix, nullptr);

    const devices::AudioDevice::SoundPtr tone = audio.decode(demo::WavFile(demo::Tone(200)));
    std::vector<double> latency;
    devices::AudioDevice::Voice voice;
    for (int i = 0; i < 20; ++i) {
        audio.halt(voice);
        clock.sleep(120);
        g_firstSoundNs = -1;
        const qint64 called = g_since.nsecsElapsed();
        voice = audio.play(tone, false);
        while (g_firstSoundNs.load() < 0)
            clock.sleep(1);
        latency.push_back(double(g_firstSoundNs.load() - called) / 1e6);
    }
    audio.halt(voice);
    report("play call to first sample", latency, 50);

    QTemporaryDir dir;
    const QString tune = dir.filePath(QStringLiteral("loop.mid"));
    QFile file(tune);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    // One beat at 120 a minute: half a second.
    file.write(demo::MidiFile({72}));
    file.close();
    devices::MediaCommands commands(clock, audio, files, log);
    Looper looper(commands, clock, tune);
    looper.lengthMs = 500;
    commands.send(QStringLiteral("open %1 type sequencer").arg(tune), nullptr, &looper);
    looper.expectedEnd = clock.elapsedMs() + looper.lengthMs;
    commands.send(QStringLiteral("play %1 from 0 notify").arg(tune), nullptr, &looper);
    while (looper.gaps.size() < 10)
        clock.sleep(50);
    report("MIDI loop restart after its end", looper.gaps, 20);
    return 0;
}
