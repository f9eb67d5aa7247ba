#include "devices/media_commands.h"

#include "base/event_log.h"
#include "base/failure.h"
#include "devices/media_module.h"
#include "devices/midi_file.h"
#include "devices/video_decoder.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"

#include <QCoreApplication>
#include <QJsonObject>

#include <algorithm>
#include <optional>

namespace devices {

const QEvent::Type MediaCommands::Notice::kType = static_cast<QEvent::Type>(QEvent::registerEventType());

namespace {

enum class Mode { Stopped, Playing, Paused };

// The words of a command; a double-quoted word may hold blanks.
QStringList wordsOf(const QString& command)
{
    QStringList words;
    QString word;
    bool quoted = false, any = false;
    for (const QChar c : command) {
        if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any)
                words << word;
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any)
        words << word;
    return words;
}

bool is(const QString& word, const char* keyword)
{
    return word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0;
}

// What an open command names: its file, then "alias", "type", "parent" and
// "style" each with a value, and "wait", "notify" and "shareable" alone,
// which an open passes over. Nothing for a command of other words.
struct OpenWords {
    QString file;
    QString alias;
    QString type;
    qint64 parent = 0;
};

std::optional<OpenWords> openWords(const QStringList& words)
{
    if (words.size() < 2)
        return std::nullopt;
    OpenWords request{.file = words[1]};
    for (qsizetype i = 2; i < words.size(); ++i) {
        if (is(words[i], "alias") && i + 1 < words.size())
            request.alias = words[++i];
        else if (is(words[i], "type") && i + 1 < words.size())
            request.type = words[++i];
        else if (is(words[i], "parent") && i + 1 < words.size())
            request.parent = words[++i].toLongLong();
        else if (is(words[i], "style") && i + 1 < words.size())
            ++i;
        else if (!is(words[i], "wait") && !is(words[i], "notify") && !is(words[i], "shareable"))
            return std::nullopt;
    }
    return request;
}

} // namespace

struct MediaCommands::Device {
    enum class Kind { Sequencer, Wave, Video };
    Device(platform::Clock& clock, std::function<void()> onEnd, std::function<void()> onFrame)
        : end(clock, std::move(onEnd)), frameTick(clock, std::move(onFrame))
    {
    }
    QString name;
    QString file;
    Kind kind = Kind::Wave;
    AudioDevice::SoundPtr sound;
    // Video: the decoder, the parent window's handle, the next picture.
    std::unique_ptr<VideoDecoder> video;
    qint64 parent = 0;
    AudioDevice::MusicPtr music;
    // What this device has sounding: each device its own, so that one
    // device's stop or close never silences another's sound.
    AudioDevice::Voice voice;
    AudioDevice::MusicVoice musicVoice = 0;
    qint64 lengthMs = 0;
    Mode mode = Mode::Stopped;
    // Playing: the clock time at which position 0 was; else the position.
    qint64 startedAt = 0;
    qint64 heldPosition = 0;
    QPointer<QObject> notify;
    platform::Deadline end;
    platform::Deadline frameTick;
};

MediaCommands::MediaCommands(platform::Clock& clock, AudioDevice& audio, const platform::FileResolver& files, base::EventLog& log)
    : m_clock(clock), m_audio(audio), m_files(files), m_log(log)
{
}

MediaCommands::~MediaCommands() = default;

QString MediaCommands::errorText(int code)
{
    switch (code) {
    case kOk: return QStringLiteral("The command was carried out.");
    case kUnknownCommand: return QStringLiteral("The command is not known.");
    case kUnknownDevice: return QStringLiteral("No device is open under that name.");
    case kBadParameter: return QStringLiteral("The command's parameters are not valid.");
    case kFileNotFound: return QStringLiteral("The file cannot be found.");
    case kCannotRead: return QStringLiteral("The file cannot be read by the device.");
    case kUnsupportedDevice: return QStringLiteral("That kind of device is not available.");
    default: return QStringLiteral("Unknown media error %1.").arg(code);
    }
}

QString MediaCommands::shortPath(const QString& path)
{
    if (m_shortPaths.count(path))
        return path;
    const auto found = m_files.resolve(path);
    if (!found)
        return QString();
    const QString real = QString::fromStdString(found->string());
    bool plain = true;
    for (const QChar c : real)
        plain &= c.unicode() > 32 && c.unicode() < 127 && c != u'"';
    if (plain)
        return real;
    // A name commands can carry, looked up again when a device opens.
    for (const auto& [shortName, target] : m_shortPaths) {
        if (target == real)
            return shortName;
    }
    const QString suffix = real.section(u'.', -1);
    const QString shortName = QStringLiteral("~media%1.%2").arg(m_shortPaths.size() + 1).arg(suffix.size() <= 4 ? suffix : QString());
    m_shortPaths[shortName] = real;
    return shortName;
}

QString MediaCommands::mode(const QString& name) const
{
    const Device* d = find(name);
    if (!d)
        return QString();
    return d->mode == Mode::Playing ? QStringLiteral("playing") : d->mode == Mode::Paused ? QStringLiteral("paused") : QStringLiteral("stopped");
}

qint64 MediaCommands::lengthMs(const QString& name) const
{
    const Device* d = find(name);
    return d ? d->lengthMs : 0;
}

MediaCommands::Device* MediaCommands::find(const QString& name) const
{
    auto it = m_devices.find(name.toLower());
    return it == m_devices.end() ? nullptr : it->second.get();
}

qint64 MediaCommands::position(const Device& d) const
{
    if (d.mode != Mode::Playing)
        return d.heldPosition;
    return std::clamp<qint64>(m_clock.elapsedMs() - d.startedAt, 0, d.lengthMs);
}

void MediaCommands::start(Device& d, qint64 from)
{
    const bool resuming = d.mode == Mode::Paused && from == d.heldPosition;
    d.mode = Mode::Playing;
    d.startedAt = m_clock.elapsedMs() - from;
    d.end.armAt(d.startedAt + d.lengthMs);
    switch (d.kind) {
    case Device::Kind::Sequencer:
        if (resuming)
            m_audio.resumeMusic(d.musicVoice);
        else if (d.music)
            d.musicVoice = m_audio.playMusic(d.music);
        break;
    case Device::Kind::Wave:
    case Device::Kind::Video:
        if (resuming) {
            m_audio.resume(d.voice);
        } else {
            m_audio.halt(d.voice);
            d.voice = m_audio.play(d.sound, false, 0, d.kind == Device::Kind::Video ? Mix::Video : Mix::Sounds);
        }
        break;
    }
    // The first picture at once, the next ones at their times.
    if (d.video)
        d.frameTick.armAt(m_clock.elapsedMs());
}

void MediaCommands::silence(Device& d, bool pausing)
{
    d.frameTick.cancel();
    if (d.kind == Device::Kind::Sequencer)
        pausing ? m_audio.pauseMusic(d.musicVoice) : m_audio.haltMusic(d.musicVoice);
    else
        pausing ? m_audio.pause(d.voice) : m_audio.halt(d.voice);
}

void MediaCommands::showFrame(Device& d)
{
    if (!d.video || d.mode != Mode::Playing)
        return;
    const qint64 at = position(d);
    // A virtual clock may have jumped: the picture of that moment is waited for.
    const QImage frame = d.video->frameAt(at, m_clock.isVirtual());
    if (!frame.isNull() && onVideoFrame)
        onVideoFrame(d.parent, frame);
    const qint64 interval = d.video->frameIntervalMs();
    const qint64 next = (at / interval + 1) * interval;
    if (next < d.lengthMs)
        d.frameTick.armAt(d.startedAt + next);
}

void MediaCommands::finished(Device& d)
{
    d.mode = Mode::Stopped;
    d.heldPosition = d.lengthMs;
    // The synthesiser's voices may still ring: the piece ends with its last
    // event, so that a loop starts again without a gap. A video's last
    // picture stays.
    if (d.kind != Device::Kind::Wave)
        silence(d, false);
    if (QObject* window = d.notify.data()) {
        d.notify.clear();
        QCoreApplication::postEvent(window, new Notice(d.name));
    }
}

int MediaCommands::open(const QStringList& words)
{
    const std::optional<OpenWords> request = openWords(words);
    if (!request)
        return kBadParameter;
    const QString name = request->alias.isEmpty() ? request->file : request->alias;
    if (name.isEmpty())
        return kBadParameter;
    if (find(name))
        return kBadParameter;
    Device::Kind kind = Device::Kind::Wave;
    if (is(request->type, "sequencer"))
        kind = Device::Kind::Sequencer;
    else if (is(request->type, "avivideo"))
        kind = Device::Kind::Video;
    else if (!is(request->type, "waveaudio"))
        return kUnsupportedDevice;
    const auto shortName = m_shortPaths.find(request->file);
    const QString path = shortName != m_shortPaths.end() ? shortName->second : request->file;
    if (!m_files.fileExists(path))
        return kFileNotFound;
    const QString key = name.toLower();
    auto device = std::make_unique<Device>(
        m_clock,
        [this, key] {
            if (Device* ended = find(key))
                finished(*ended);
        },
        [this, key] {
            if (Device* playing = find(key))
                showFrame(*playing);
        });
    device->name = name;
    device->file = path;
    device->kind = kind;
    device->parent = request->parent;
    try {
        switch (kind) {
        case Device::Kind::Sequencer: openSequencer(*device); break;
        case Device::Kind::Wave: openWave(*device); break;
        case Device::Kind::Video: openVideo(*device); break;
        }
    } catch (const base::Failure& failure) {
        // Without the media module, that was told once for every file.
        if (onNotice && !m_audio.module().missing()) {
            const QString what = kind == Device::Kind::Video       ? QStringLiteral("video")
                                 : kind == Device::Kind::Sequencer ? QStringLiteral("music")
                                                                   : QStringLiteral("sound");
            onNotice(QStringLiteral("The %1 %2 is skipped: %3").arg(what, path, QString::fromUtf8(failure.what())));
        }
        return kCannotRead;
    }
    m_devices[key] = std::move(device);
    return kOk;
}

void MediaCommands::openSequencer(Device& d)
{
    const QByteArray bytes = m_files.readAll(d.file);
    // The piece lasts as its own tempo map says; a synthesiser that cannot
    // take it (no soundfont) leaves it timed but silent.
    const MidiPiece piece = ReadMidiPiece(bytes);
    d.lengthMs = piece.lengthMs;
    try {
        d.music = m_audio.loadMusic(piece.playable);
    } catch (const base::Failure& failure) {
        // Without a soundfont every piece is silent, told once.
        if (m_audio.hasSoundFont() && onNotice)
            onNotice(QStringLiteral("The music %1 is silent: %2").arg(d.file, QString::fromUtf8(failure.what())));
    }
}

void MediaCommands::openWave(Device& d)
{
    d.sound = m_audio.decode(m_files.readAll(d.file));
    d.lengthMs = AudioDevice::lengthMs(d.sound);
}

void MediaCommands::openVideo(Device& d)
{
    const auto real = m_files.resolve(d.file);
    const QString path = QString::fromStdString(real ? real->string() : std::string());
    d.video = std::make_unique<VideoDecoder>(m_audio.module(), path);
    d.lengthMs = d.video->lengthMs();
    try {
        d.sound = m_audio.stream(AudioSource{path, {}});
    } catch (const base::Failure&) {
        // Pictures without their sound rather than nothing.
    }
}

void MediaCommands::hold(bool held)
{
    // Only the sound: positions, ends and pictures follow the clock, which
    // the pause holds too.
    for (const auto& [name, d] : m_devices) {
        if (d->mode != Mode::Playing)
            continue;
        if (d->kind == Device::Kind::Sequencer)
            held ? m_audio.pauseMusic(d->musicVoice) : m_audio.resumeMusic(d->musicVoice);
        else
            held ? m_audio.pause(d->voice) : m_audio.resume(d->voice);
    }
}

int MediaCommands::send(const QString& command, QString* reply, QObject* notify)
{
    m_log.write(QJsonObject{{QStringLiteral("type"), QStringLiteral("media")},
                            {QStringLiteral("layer"), QStringLiteral("mci")},
                            {QStringLiteral("call"), command}});
    if (reply)
        reply->clear();
    const QStringList words = wordsOf(command);
    if (words.isEmpty())
        return kUnknownCommand;
    const QString& verb = words[0];
    if (is(verb, "open"))
        return open(words);
    if (!is(verb, "play") && !is(verb, "stop") && !is(verb, "close") && !is(verb, "pause") && !is(verb, "resume")
        && !is(verb, "seek") && !is(verb, "status"))
        return kUnknownCommand;
    Device* d = words.size() >= 2 ? find(words[1]) : nullptr;
    if (!d)
        return kUnknownDevice;
    if (is(verb, "status"))
        return status(*d, words, reply);
    if (is(verb, "close"))
        return close(*d);
    if (is(verb, "stop") || is(verb, "pause"))
        return stop(*d, is(verb, "pause"));
    if (is(verb, "seek"))
        return seek(*d, words);
    return play(*d, words, notify);
}

int MediaCommands::status(const Device& d, const QStringList& words, QString* reply) const
{
    QString answer;
    if (words.size() < 3)
        return kBadParameter;
    if (is(words[2], "mode"))
        answer = mode(d.name);
    else if (is(words[2], "length"))
        answer = QString::number(d.lengthMs);
    else if (is(words[2], "position"))
        answer = QString::number(position(d));
    else if (is(words[2], "ready"))
        answer = QStringLiteral("true");
    else
        return kBadParameter;
    if (reply)
        *reply = answer;
    return kOk;
}

int MediaCommands::close(Device& d)
{
    silence(d, false);
    if (d.video && onVideoClosed)
        onVideoClosed(d.parent);
    m_devices.erase(d.name.toLower());
    return kOk;
}

int MediaCommands::stop(Device& d, bool pause)
{
    d.heldPosition = position(d);
    d.end.cancel();
    const bool pausing = pause && d.mode == Mode::Playing;
    d.mode = pausing ? Mode::Paused : Mode::Stopped;
    silence(d, pausing);
    return kOk;
}

int MediaCommands::seek(Device& d, const QStringList& words)
{
    if (words.size() < 4 || !is(words[2], "to"))
        return kBadParameter;
    bool ok = true;
    const qint64 to = is(words[3], "start") ? 0 : is(words[3], "end") ? d.lengthMs : words[3].toLongLong(&ok);
    if (!ok)
        return kBadParameter;
    d.end.cancel();
    d.mode = Mode::Stopped;
    d.heldPosition = std::clamp<qint64>(to, 0, d.lengthMs);
    silence(d, false);
    return kOk;
}

int MediaCommands::play(Device& d, const QStringList& words, QObject* notify)
{
    const bool resuming = is(words[0], "resume");
    qint64 from = position(d);
    bool wait = false;
    // A play without "notify" supersedes the notice an earlier one asked for.
    QObject* noticeTo = nullptr;
    for (qsizetype i = 2; i < words.size(); ++i) {
        if (is(words[i], "from") && i + 1 < words.size()) {
            bool ok = false;
            from = words[++i].toLongLong(&ok);
            if (!ok)
                return kBadParameter;
        } else if (is(words[i], "to") && i + 1 < words.size()) {
            ++i;
        } else if (is(words[i], "wait")) {
            wait = true;
        } else if (is(words[i], "notify")) {
            noticeTo = notify;
        } else if (!is(words[i], "window")) {
            return kBadParameter;
        }
    }
    if (resuming && d.mode != Mode::Paused)
        return kOk;
    d.notify = noticeTo;
    start(d, std::clamp<qint64>(from, 0, d.lengthMs));
    if (!resuming && onPlay)
        onPlay(d.file);
    // The device may close while the wait lets other handlers run.
    const QString name = d.name;
    for (Device* playing = &d; wait && (playing = find(name)) && playing->mode == Mode::Playing;) {
        if (!m_clock.waitForEvents())
            break;
    }
    return kOk;
}

} // namespace devices
