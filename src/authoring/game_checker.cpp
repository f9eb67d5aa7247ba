#include "authoring/game_checker.h"

#include "app/startup.h"
#include "base/failure.h"
#include "base/units.h"
#include "devices/audio_device.h"
#include "devices/media_module.h"
#include "devices/midi_file.h"
#include "devices/video_decoder.h"
#include "engine/area_record.h"
#include "engine/cursors.h"
#include "engine/frame_record.h"
#include "formats/quoted_field_reader.h"
#include "media/channel_record.h"
#include "media/frame_text_record.h"
#include "run/context.h"
#include "run/frame_header.h"
#include "run/interface_strings.h"
#include "run/media_names.h"
#include "run/project.h"
#include "state/action_record.h"
#include "state/area_actions.h"
#include "state/object_records.h"
#include "state/variables_list.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <deque>
#include <map>
#include <optional>

namespace authoring {

namespace {

using Kind = FrameGraph::Link::Kind;

QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

QString fieldName(int field)
{
    return QStringLiteral("field %1").arg(field);
}

// The range a number type of the data files takes, as an author reads it.
QString rangeOf(const QString& type)
{
    if (type == QLatin1String("16-bit integer"))
        return QStringLiteral(" (-32768 to 32767)");
    if (type == QLatin1String("32-bit integer"))
        return QStringLiteral(" (-2147483648 to 2147483647)");
    return {};
}

bool isNumberType(const QString& type)
{
    return type == QLatin1String("16-bit integer") || type == QLatin1String("32-bit integer") || type == QLatin1String("single");
}

// A reader's failure in an author's words: what is wrong with the field.
QString plainFailure(const base::Failure& failure, int field)
{
    using Kind = base::Failure::Kind;
    const QString& subject = failure.subject();
    const QString& value = failure.value();
    switch (failure.kind()) {
    case Kind::PastEnd:
        return field <= 1 ? QStringLiteral("is missing: the file is empty")
                          : QStringLiteral("is missing: the record is cut short after field %1").arg(field - 1);
    case Kind::Overflow:
        if (isNumberType(subject) && !value.isEmpty())
            return QStringLiteral("holds %1, which is out of the range of a %2%3").arg(value, subject, rangeOf(subject));
        if (isNumberType(subject))
            return QStringLiteral("holds a value out of the range of a %1%2").arg(subject, rangeOf(subject));
        if (subject == QLatin1String("text position"))
            return QStringLiteral("gives a position out of the range the player takes");
        break;
    case Kind::TypeMismatch:
        if (subject == QLatin1String("Boolean"))
            return QStringLiteral("holds %1, which is not a Boolean (#TRUE# or #FALSE#)").arg(quoted(value));
        return QStringLiteral("holds %1, which is neither a number nor a Boolean").arg(quoted(value));
    case Kind::BadValue:
        if (subject == QLatin1String("font size"))
            return QStringLiteral("gives a font size the player cannot use (it takes more than 0 and up to 2048)");
        break;
    case Kind::OutOfRange:
        if (subject == QLatin1String("interface string"))
            return QStringLiteral("would set interface string %1, but the last one is 60").arg(value);
        break;
    case Kind::Other:
        break;
    }
    return QStringLiteral("cannot be read: %1").arg(QString::fromUtf8(failure.what()));
}

QString listOf(const QStringList& names)
{
    constexpr qsizetype kShown = 12;
    QStringList shown = names.mid(0, kShown);
    if (names.size() > kShown)
        shown << QStringLiteral("… %1 more").arg(names.size() - kShown);
    return shown.isEmpty() ? QStringLiteral("none") : shown.join(QStringLiteral(", "));
}

QString baseName(const QString& file, qsizetype suffixLength)
{
    return file.left(file.size() - suffixLength);
}

} // namespace

GameChecker::GameChecker(const QString& gameDir, const QString& codePage, const std::optional<QString>& mountTable)
    : m_dir(QDir(gameDir).absolutePath())
{
    run::RuntimeOptions options;
    options.projectDir = m_dir;
    options.mountTable = mountTable;
    options.scripted = true;
    options.codePage = codePage;
    m_rt = std::make_unique<run::Context>(options);
    run::Project& p = m_rt->project;
    app::SetProjectFolders(p, m_dir);
    p.assignDefaults();
    devices::AudioDevice::Options audio;
    audio.silent = true;
    m_module = std::make_unique<devices::MediaModule>([this](const QString& text) { m_rt->notices.notice(text); });
    m_audio = std::make_unique<devices::AudioDevice>(*m_module, audio);
}

GameChecker::~GameChecker() = default;

bool GameChecker::IsGameFolder(const QString& dir)
{
    const platform::FileResolver files;
    return files.fileExists(QDir(dir).absolutePath() + QStringLiteral("/Config/General"));
}

std::vector<Finding> GameChecker::check()
{
    m_findings.clear();
    m_graph = FrameGraph();
    m_objects.clear();
    m_areas = 0;
    m_variables.clear();
    m_variablesKnown = false;
    checkCDFolders();
    for (const QString& file : m_rt->files.listFiles(m_rt->project.FramesPath, QStringLiteral(".fme"))) {
        if (file.size() > 4)
            m_graph.frames << baseName(file, 4);
    }
    for (const QString& file : m_rt->files.listFiles(m_rt->project.AreasPath, QStringLiteral(".obj"))) {
        if (file.size() > 4)
            m_objects << baseName(file, 4);
    }
    checkInterfaceStrings();
    checkVariables();
    checkSettings();
    for (const QString& frame : std::as_const(m_graph.frames))
        checkFrame(frame);
    checkObjects();
    checkReachability();
    return m_findings;
}

QString GameChecker::gameName() const
{
    return m_rt->project.GameName;
}

QString GameChecker::summary(const QString& name) const
{
    int errors = 0, warnings = 0;
    for (const Finding& finding : m_findings)
        ++(finding.isError() ? errors : warnings);
    const auto count = [](qsizetype n, const char* one, const char* many) {
        return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
    };
    return QStringLiteral("%1: %2, %3; %4, %5, %6")
        .arg(name, count(errors, "error", "errors"), count(warnings, "warning", "warnings"),
             count(m_graph.frames.size(), "frame", "frames"), count(m_areas, "area", "areas"),
             count(m_objects.size(), "object", "objects"));
}

// ---------------------------------------------------------------- findings

void GameChecker::error(const QString& file, const QString& where, const QString& message)
{
    m_findings.push_back({file, where, Finding::Severity::Error, message});
}

void GameChecker::warning(const QString& file, const QString& where, const QString& message)
{
    m_findings.push_back({file, where, Finding::Severity::Warning, message});
}

QString GameChecker::relative(const QString& path) const
{
    QString full = path;
    if (const auto real = m_rt->files.resolve(path))
        full = QString::fromStdString(real->string());
    full.replace(u'\\', u'/');
    const QString root = m_dir + u'/';
    return full.startsWith(root) ? full.mid(root.size()) : full;
}

QString GameChecker::areaFolder(const QString& frame) const
{
    return m_rt->project.AreasPath + frame + QDir::separator();
}

QString GameChecker::frameNamed(const QString& name) const
{
    if (name.isEmpty())
        return QString();
    const auto real = m_rt->files.resolve(m_rt->project.FramesPath + name + QStringLiteral(".fme"));
    if (!real)
        return QString();
    const QString file = QString::fromStdString(real->filename().string());
    return baseName(file, 4);
}

QString GameChecker::frameList() const
{
    return QStringLiteral("(frames: %1)").arg(listOf(m_graph.frames));
}

QString GameChecker::objectList() const
{
    return QStringLiteral("(objects: %1)").arg(listOf(m_objects));
}

bool GameChecker::readFile(const QString& path, const ReadStep& step)
{
    std::optional<QByteArray> bytes;
    try {
        bytes = m_rt->files.tryReadAll(path, platform::FileResolver::kRecordFileLimit);
    } catch (const base::Failure& e) {
        error(relative(path), QString(), QStringLiteral("cannot be read: %1").arg(QString::fromStdString(e.what())));
        return false;
    }
    if (!bytes)
        return false;
    formats::QuotedFieldReader reader(*bytes, m_rt->codePage);
    bool ok = true;
    try {
        step(reader);
    } catch (const base::Failure& e) {
        // A failure the reader threw names its field; one thrown after the
        // read belongs to the field read last.
        const int field = e.position().field ? e.position().field : reader.fieldIndex();
        error(relative(path), fieldName(field), plainFailure(e, field));
        ok = false;
    }
    for (const auto& note : reader.notNumbers()) {
        warning(relative(path), fieldName(note.field),
                QStringLiteral("should be a number but holds %1, which the player reads as 0").arg(quoted(note.text)));
    }
    return ok;
}

// ---------------------------------------------------------------- settings, strings, variables

void GameChecker::checkCDFolders()
{
    run::Project& p = m_rt->project;
    const QString marker = p.ProjectPath + QStringLiteral("RunFromCD.dat");
    if (!m_rt->files.fileExists(marker))
        return;
    // The CD folders are named after the game: its settings are read here
    // already, and their faults told where the settings are checked.
    try {
        formats::QuotedFieldReader settings = m_rt->openReader(p.ConfigPath + QStringLiteral("General"));
        app::ReadProjectSettings(settings, p);
    } catch (const base::Failure&) {
    }
    const QString file = relative(marker);
    const QString value = run::ReadCDDrive(*m_rt);
    const QChar letter = value.isEmpty() ? QChar() : value.at(0).toUpper();
    const QString inGame = QStringLiteral("the game folder's own Frames, Areas and Icons folders are checked instead");
    if (!letter.isLetter()) {
        warning(file, fieldName(1),
                QStringLiteral("names no CD drive, so the player asks for the drive whenever the game starts; %1").arg(inGame));
        return;
    }
    if (m_rt->drives.root(letter).isEmpty()) {
        warning(file, fieldName(1),
                QStringLiteral("names the CD drive %1:, which this system does not have, so the player asks for the drive; %2").arg(letter).arg(inGame));
        return;
    }
    const run::CDFolders cd = run::CDFoldersOn(*m_rt, QStringLiteral("%1:\\").arg(letter));
    QStringList missing;
    for (const QString& folder : {cd.frames, cd.areas, cd.icons}) {
        if (!m_rt->files.dirExists(folder))
            missing << QString(folder).replace(u'\\', u'/');
    }
    if (!missing.isEmpty()) {
        error(file, fieldName(1),
              QStringLiteral("names the CD drive %1: (%2), which has no folder %3, so the player cannot start the game from it; %4")
                  .arg(letter)
                  .arg(m_rt->drives.root(letter), missing.join(QStringLiteral(", ")), inGame));
        return;
    }
    run::UseCDFolders(*m_rt, cd);
}

void GameChecker::checkSettings()
{
    run::Project& p = m_rt->project;
    const QString path = p.ConfigPath + QStringLiteral("General");
    const bool read = readFile(path, [&](formats::QuotedFieldReader& reader) { app::ReadProjectSettings(reader, p); });
    const QString file = relative(path);
    const QString initial = frameNamed(p.InitialFrame);
    m_graph.initialFrame = initial.isEmpty() ? p.InitialFrame : initial;
    m_graph.initialFrameExists = !initial.isEmpty();
    if (initial.isEmpty()) {
        error(file, fieldName(5),
              p.InitialFrame.isEmpty() ? QStringLiteral("names no initial frame %1").arg(frameList())
                                       : QStringLiteral("names the initial frame %1, which does not exist %2").arg(quoted(p.InitialFrame), frameList()));
    }
    // After a failure the sizes are the player's defaults, not the author's.
    for (const auto& [field, size] : {std::pair{7, p.FrameWidth}, std::pair{8, p.FrameHeight}}) {
        if (!read)
            break;
        try {
            if (size <= 0)
                throw base::Failure("no size");
            base::twips16(size);
        } catch (const base::Failure&) {
            error(file, fieldName(field), QStringLiteral("gives the game picture a size of %1 pixels; it must be 1 to 2184").arg(size));
        }
    }
    if (p.InventoryEnabled && p.InventoryCustomPictures) {
        for (const auto& [field, name] : {std::pair{34, p.InventoryBackgroundPicture}, std::pair{33, p.InventoryTabPicture}}) {
            if (!name.isEmpty() && name.toLower() != QLatin1String("default"))
                checkMedia(Media::Picture, p.InventoryPath + name, file, fieldName(field), QStringLiteral("inventory picture"));
        }
    }
    if (!engine::IsDefaultCursorName(p.DefaultCursor))
        checkMedia(Media::Cursor, p.IconsPath + p.DefaultCursor, file, fieldName(38), QStringLiteral("default cursor"));
    if (p.SchemeName.isEmpty())
        return;
    const QString scheme = p.SchemesPath + p.SchemeName + QDir::separator();
    if (!m_rt->files.fileExists(scheme + QStringLiteral("Scheme.txt")))
        error(file, fieldName(16), QStringLiteral("names the scheme %1, which has no file %2").arg(quoted(p.SchemeName), quoted(QStringLiteral("Schemes/") + p.SchemeName + QStringLiteral("/Scheme.txt"))));
    else
        checkScheme(scheme);
}

void GameChecker::checkScheme(const QString& folder)
{
    const QString path = folder + QStringLiteral("Scheme.txt");
    QStringList pictures;
    readFile(path, [&](formats::QuotedFieldReader& reader) {
        for (int i = 0; i < 3; ++i)
            reader.skip();
        const double count = formats::QuotedFieldReader::fieldNumber(reader.readString());
        // The welcome window shows four pictures; a name it cannot read
        // counts as the default picture there.
        for (int i = 0; i < count && i < 4; ++i) {
            QString name;
            base::SkipOnFailure([&] { name = reader.readString(); });
            pictures << name;
        }
    });
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const QString lower = pictures[i].toLower();
        if (!pictures[i].isEmpty() && lower != QLatin1String("[none]") && lower != QLatin1String("[default]"))
            checkMedia(Media::Picture, folder + pictures[i], relative(path), fieldName(int(i) + 5), QStringLiteral("scheme picture"));
    }
}

void GameChecker::checkInterfaceStrings()
{
    run::InterfaceStrings strings;
    std::optional<double> format;
    const QString path = m_rt->project.ConfigPath + QStringLiteral("Texts");
    readFile(path, [&](formats::QuotedFieldReader& reader) {
        formats::QuotedFieldReader first = reader;
        if (!first.atEnd())
            format = first.readDouble();
        app::ReadInterfaceStrings(reader, strings);
    });
    // The format decides everything else: an unknown one leaves every
    // caption and message of the player empty.
    if (format && *format != 0 && *format != 1 && *format != 2)
        error(relative(path), fieldName(1), QStringLiteral("gives the format %1, which is not 0, 1 or 2: the player's captions and messages stay empty").arg(*format));
}

void GameChecker::checkVariables()
{
    const QString path = m_rt->project.ConfigPath + QStringLiteral("Variables");
    if (!m_rt->files.fileExists(path)) {
        error(relative(path), QString(), QStringLiteral("is missing: the player reports that it cannot load the variables list"));
        return;
    }
    m_variablesKnown = readFile(path, [&](formats::QuotedFieldReader& reader) {
        state::ReadVariablesList(reader, [&](const QString& name) { m_variables.insert(name); });
    });
}

void GameChecker::checkVariableName(const QString& name, const QString& file, const QString& where)
{
    if (!m_variablesKnown || name.isEmpty() || m_variables.contains(name))
        return;
    warning(file, where, QStringLiteral("uses the variable %1, which is not declared in Config/Variables: the player ignores it").arg(quoted(name)));
}

void GameChecker::checkObjectName(const QString& name, const QString& file, const QString& where, const QString& how)
{
    if (m_rt->files.fileExists(m_rt->project.AreasPath + name + QStringLiteral(".obj")))
        return;
    error(file, where, QStringLiteral("%1 the object %2, which has no object file %3").arg(how, quoted(name), objectList()));
}

// ---------------------------------------------------------------- media

void GameChecker::checkMedia(Media kind, const QString& path, const QString& file, const QString& where, const QString& what)
{
    // The name as the game gives it, wherever its folder lies (on a CD too).
    const QString name = QString(path).replace(u'\\', u'/').section(u'/', -1);
    const QString mapped = run::MappedMediaName(m_rt->files, path);
    const auto real = m_rt->files.resolve(mapped);
    if (!real || !m_rt->files.fileExists(mapped)) {
        QString looked = quoted(relative(path));
        if (mapped != path)
            looked += QStringLiteral(" or ") + quoted(relative(mapped));
        error(file, where, QStringLiteral("names the %1 %2, which is missing (no file %3)").arg(what, quoted(name), looked));
        return;
    }
    const QString key = QString::fromStdString(real->string()) + u'|' + QString::number(static_cast<int>(kind));
    auto known = m_decoded.find(key);
    if (known == m_decoded.end()) {
        QString failure;
        try {
            switch (kind) {
            case Media::Picture:
                m_rt->LoadPicture(mapped);
                break;
            case Media::Cursor:
                engine::LoadCursorFile(*m_rt, mapped);
                break;
            case Media::Sound:
                m_audio->decode(m_rt->files.readAll(mapped));
                break;
            case Media::Midi:
                devices::ReadMidiPiece(m_rt->files.readAll(mapped));
                break;
            case Media::Mp3:
                m_audio->stream(devices::AudioSource{QString::fromStdString(real->string()), {}});
                break;
            case Media::Video:
                devices::VideoDecoder(*m_module, QString::fromStdString(real->string()));
                break;
            }
        } catch (const base::Failure& e) {
            // The decoders name the file by its full path, which the
            // finding already gives: only what they say of it is kept.
            failure = QString::fromStdString(e.what());
            if (failure.contains(m_dir) || failure.isEmpty())
                failure = QStringLiteral("-");
            // Without the media module nothing tells a bad file from a good
            // one: that was told once, and no file is blamed for it.
            if (m_module->missing())
                failure.clear();
        }
        known = m_decoded.insert(key, failure);
    }
    if (*known == QLatin1String("-"))
        error(file, where, QStringLiteral("names the %1 %2, which the player cannot decode").arg(what, quoted(relative(mapped))));
    else if (!known->isEmpty())
        error(file, where, QStringLiteral("names the %1 %2, which the player cannot decode: %3").arg(what, quoted(relative(mapped)), *known));
}

// ---------------------------------------------------------------- frames

void GameChecker::checkFrameLink(const QString& from, const QString& target, const QString& file, const QString& where,
                                 const QString& how, Kind kind, const QString& label)
{
    const QString to = frameNamed(target);
    m_graph.links.push_back({from, to.isEmpty() ? target : to, kind, label, to.isEmpty()});
    if (to.isEmpty()) {
        error(file, where,
              target.isEmpty() ? QStringLiteral("%1 a frame but names none %2").arg(how, frameList())
                               : QStringLiteral("%1 the frame %2, which does not exist %3").arg(how, quoted(target), frameList()));
    }
}

void GameChecker::checkFrame(const QString& frame)
{
    const run::Project& p = m_rt->project;
    const QString path = p.FramesPath + frame + QStringLiteral(".fme");
    const QString file = relative(path);
    run::FrameHeader header;
    engine::FrameFields f;
    const bool read = readFile(path, [&](formats::QuotedFieldReader& reader) {
        engine::ReadFrameBackground(reader, header);
        engine::ReadFrameFields(reader, f);
    });
    if (header.FrameBackgroundMode == 1)
        checkMedia(Media::Picture, p.FramesPath + header.FrameBackground, file, fieldName(2), QStringLiteral("background picture"));
    if (!f.midiFile.isEmpty())
        checkMedia(Media::Midi, p.FramesPath + f.midiFile, file, fieldName(5), QStringLiteral("MIDI music"));
    if (!f.videoFile.isEmpty())
        checkMedia(Media::Video, p.FramesPath + f.videoFile, file, fieldName(9), QStringLiteral("video"));
    if (!f.mp3File.isEmpty())
        checkMedia(Media::Mp3, p.FramesPath + f.mp3File, file, fieldName(13), QStringLiteral("MP3 music"));
    if (read && !f.videoFile.isEmpty() && f.videoInRect) {
        const std::int16_t rect[] = {f.rectLeft, f.rectTop, f.rectWidth, f.rectHeight};
        for (int k = 0; k < 4; ++k) {
            try {
                base::twips16(rect[k]);
            } catch (const base::Failure&) {
                error(file, fieldName(19 + k), QStringLiteral("holds %1 pixels, more than the 2184 a video rectangle takes").arg(rect[k]));
            }
        }
    }
    if (f.hasTimer) {
        try {
            engine::FrameTimerInterval(f.timerDuration);
        } catch (const base::Failure&) {
            error(file, fieldName(7), QStringLiteral("gives the timer %1 seconds; a timer takes 0 to 65.535").arg(f.timerDuration.toText()));
        }
        if (engine::IsLastVisitedFrame(f.timerTarget))
            m_graph.links.push_back({frame, QString(), Kind::Back, QStringLiteral("timer"), false});
        else if (!f.timerTarget.isEmpty())
            checkFrameLink(frame, f.timerTarget, file, fieldName(8), QStringLiteral("sends the timer to"), Kind::Timer, QStringLiteral("timer"));
    }
    checkChannelFile(p.FramesPath + frame + QStringLiteral(".chn"));

    std::int16_t count = 0;
    readFile(p.FramesPath + frame + QStringLiteral(".lks"), [&](formats::QuotedFieldReader& reader) { count = engine::ReadFrameLinks(reader); });
    const QString folder = areaFolder(frame);
    for (int i = 1; i <= count; ++i)
        checkArea(frame, i, count);
    for (const QString& name : m_rt->files.listFiles(folder, QStringLiteral("a.dat"))) {
        bool number = false;
        const int i = baseName(name, 5).toInt(&number);
        if (number && (i < 1 || i > count)) {
            warning(relative(folder + name), QString(),
                    QStringLiteral("is the file of area %1, but the frame has %2 areas (%3): the player never shows it")
                        .arg(i).arg(count).arg(quoted(relative(p.FramesPath + frame + QStringLiteral(".lks")))));
        }
    }
    for (const QString& name : m_rt->files.listFiles(folder, QStringLiteral(".drg"))) {
        const QString base = baseName(name, 4);
        const qsizetype cut = base.indexOf(u'_');
        const QString object = cut < 0 ? QString() : base.mid(cut + 1);
        const QString label = QStringLiteral("area %1 + %2").arg(base.left(cut), object);
        checkActionRecord(frame, folder + name, label, Kind::Object);
        if (cut > 0 && !m_rt->files.fileExists(p.AreasPath + object + QStringLiteral(".obj")))
            warning(relative(folder + name), QString(), QStringLiteral("is the action of dropping the object %1, which has no object file %2: it never runs").arg(quoted(object), objectList()));
    }
    for (const QString& name : m_rt->files.listFiles(folder, QStringLiteral(".chn")))
        checkChannelFile(folder + name);
    for (const QString& name : m_rt->files.listFiles(folder, QStringLiteral(".lbl")))
        checkTextFile(folder + name);
}

void GameChecker::checkArea(const QString& frame, int index, int count)
{
    const run::Project& p = m_rt->project;
    const QString folder = areaFolder(frame);
    const QString path = folder + QString::number(index) + QStringLiteral("a.dat");
    if (!m_rt->files.fileExists(path)) {
        error(relative(path), QString(), QStringLiteral("is missing: the frame %1 has %2 areas, so the player reports that it cannot load area %3")
                                              .arg(quoted(frame)).arg(count).arg(index));
        return;
    }
    ++m_areas;
    const QString file = relative(path);
    engine::AreaPlacement a;
    readFile(path, [&](formats::QuotedFieldReader& reader) {
        a = engine::ReadAreaPlacement(reader);
        auto each = [&](const QString& name) {
            checkVariableName(name, file, QStringLiteral("field %1 (a condition)").arg(reader.fieldIndex()));
            return true;
        };
        if (engine::ReadAreaHasConditions(reader)) {
            engine::ReadConditionList(reader, each);
            engine::ReadConditionList(reader, each);
        }
    });
    const std::pair<int, const formats::FieldValue*> places[] = {{1, &a.left}, {2, &a.top}, {3, &a.width}, {4, &a.height}};
    for (const auto& [field, value] : places) {
        const double v = value->toNumber() + (field <= 2 ? 30 : -60);
        if (v < -32768 || v > 32767)
            error(file, fieldName(field), QStringLiteral("holds %1 twips, out of the range of a position (-32768 to 32767)").arg(value->toText()));
    }
    if (a.hasPicture())
        checkMedia(Media::Picture, p.AreasPath + a.picture, file, fieldName(7), a.isAnimated() ? QStringLiteral("animation") : QStringLiteral("picture"));
    if (!engine::IsDefaultCursorName(a.cursor))
        checkMedia(Media::Cursor, p.IconsPath + a.cursor, file, fieldName(9), QStringLiteral("cursor"));
    const QString pick = folder + QString::number(index) + QStringLiteral("c.dat");
    if (a.isAnimated() && !m_rt->files.fileExists(pick))
        error(relative(pick), QString(), QStringLiteral("is missing: area %1 is animated and the player reads its speed from this file").arg(index));
    checkPickRecord(pick, a.isAnimated());
    checkActionRecord(frame, folder + QString::number(index) + QStringLiteral("b.dat"), QStringLiteral("area %1").arg(index), Kind::Area);
    checkChannelFile(folder + QString::number(index) + QStringLiteral("d.dat"));
}

void GameChecker::checkPickRecord(const QString& path, bool animated)
{
    std::optional<QString> object;
    double speed = 50;
    const bool read = readFile(path, [&](formats::QuotedFieldReader& reader) {
        formats::QuotedFieldReader again = reader;
        object = engine::ReadPickedObjectName(reader);
        speed = engine::ReadAnimationSpeed(again);
    });
    if (!read)
        return;
    if (object)
        checkObjectName(*object, relative(path), fieldName(2), QStringLiteral("picks up"));
    if (const double rounded = std::nearbyint(speed); animated && (rounded < -32768 || rounded > 32767))
        error(relative(path), fieldName(5), QStringLiteral("gives the animation the speed %1, out of the range of a 16-bit integer").arg(speed));
}

void GameChecker::checkActionRecord(const QString& frame, const QString& path, const QString& label, Kind kind)
{
    const run::Project& p = m_rt->project;
    const QString file = relative(path);
    state::ActionRecord a;
    QStringList listNames;
    readFile(path, [&](formats::QuotedFieldReader& reader) {
        state::ReadActionRecord(reader, a, [&](const state::ActionStep& step, const state::ActionRecord&) {
            if (step.kind == state::ActionStep::ListName && a.listsSwitch != 0)
                listNames << step.name;
            return true;
        });
    });
    // No record: the area has no action. A record cut short is checked for
    // what it holds.
    if (!m_rt->files.fileExists(path))
        return;
    // Fields the player tests as non-zero must hold a number or a Boolean.
    const std::pair<int, const formats::FieldValue*> values[] = {
        {3, &a.setToZero}, {4, &a.setToOne}, {5, &a.toggle}, {6, &a.showMessage}, {10, &a.remove}, {11, &a.endGame},
        {24, &a.stopMp3}, {25, &a.playMidi}, {27, &a.playMp3}, {32, &a.goBack}, {36, &a.messageInStrip}};
    std::map<int, bool> nonZero;
    for (const auto& [field, value] : values) {
        try {
            nonZero[field] = state::AreaActions::nonZero(*value);
        } catch (const base::Failure& e) {
            error(file, fieldName(field), plainFailure(e, field));
            nonZero[field] = false;
        }
    }
    if (a.variableSwitch != 0)
        checkVariableName(a.variable, file, fieldName(2));
    for (const QString& name : std::as_const(listNames))
        checkVariableName(name, file, QStringLiteral("field 41 (variable lists)"));
    if (a.playSound != 0 && !a.soundFile.isEmpty()) {
        if (!m_rt->files.fileExists(p.AreasPath + a.soundFile))
            error(file, fieldName(9), QStringLiteral("names the sound %1, which is missing (no file %2): the player plays the channel file instead")
                                          .arg(quoted(a.soundFile), quoted(relative(p.AreasPath + a.soundFile))));
        else
            checkMedia(Media::Sound, p.AreasPath + a.soundFile, file, fieldName(9), QStringLiteral("sound"));
    }
    if (a.playVideo != 0)
        checkMedia(Media::Video, p.FramesPath + a.videoFile, file, fieldName(17), QStringLiteral("video"));
    if (a.playVideo != 0 && a.videoInRect) {
        const std::int16_t rect[] = {a.rectLeft, a.rectTop, a.rectWidth, a.rectHeight};
        for (int k = 0; k < 4; ++k) {
            try {
                base::twips16(rect[k]);
            } catch (const base::Failure&) {
                error(file, fieldName(20 + k), QStringLiteral("holds %1 pixels, more than the 2184 a video rectangle takes").arg(rect[k]));
            }
        }
    }
    if (nonZero[25] && !a.midiFile.toText().isEmpty())
        checkMedia(Media::Midi, p.FramesPath + a.midiFile.toText(), file, fieldName(26), QStringLiteral("MIDI music"));
    if (nonZero[27]) {
        if (a.mp3File.toText().isEmpty())
            error(file, fieldName(28), QStringLiteral("names no MP3 file, though field 27 asks for MP3 music"));
        else
            checkMedia(Media::Mp3, p.FramesPath + a.mp3File.toText(), file, fieldName(28), QStringLiteral("MP3 music"));
    }
    if (nonZero[11])
        return; // the game ends here: nothing after field 11 happens
    if (a.openFrame != 0)
        checkFrameLink(frame, a.frame, file, fieldName(13), QStringLiteral("opens"), kind, label);
    else if (nonZero[32])
        m_graph.links.push_back({frame, QString(), Kind::Back, label, false});
}

void GameChecker::checkChannelFile(const QString& path)
{
    const run::Project& p = m_rt->project;
    std::vector<std::pair<int, QString>> waves;
    readFile(path, [&](formats::QuotedFieldReader& reader) {
        media::ReadChannelRecords(reader, p.SingleSoundMode, [&](const media::ChannelRecord& record) {
            if (record.play && !record.wave.isEmpty())
                waves.emplace_back(reader.fieldIndex() - 1, record.wave);
        });
    });
    for (const auto& [field, wave] : waves)
        checkMedia(Media::Sound, p.AreasPath + wave, relative(path), fieldName(field), QStringLiteral("sound"));
}

void GameChecker::checkTextFile(const QString& path)
{
    media::FrameTextRecord record;
    readFile(path, [&](formats::QuotedFieldReader& reader) { record = media::ReadFrameTextRecord(reader); });
    for (const base::Failure& failure : record.failures)
        error(relative(path), fieldName(failure.position().field), plainFailure(failure, failure.position().field));
}

// ---------------------------------------------------------------- objects

void GameChecker::checkObjects()
{
    const run::Project& p = m_rt->project;
    for (const QString& object : std::as_const(m_objects)) {
        const QString path = p.AreasPath + object + QStringLiteral(".obj");
        QString picture;
        if (readFile(path, [&](formats::QuotedFieldReader& reader) { picture = state::ReadObjectPicture(reader); }))
            checkMedia(Media::Picture, p.AreasPath + picture, relative(path), fieldName(1), QStringLiteral("picture"));
    }
    for (const QString& name : m_rt->files.listFiles(p.AreasPath, QStringLiteral(".drg"))) {
        const QString path = p.AreasPath + name;
        state::CombinationRecord c;
        if (readFile(path, [&](formats::QuotedFieldReader& reader) { c = state::ReadCombinationRecord(reader); }) && c.addObject)
            checkObjectName(c.newObject, relative(path), fieldName(4), QStringLiteral("adds"));
    }
}

// ---------------------------------------------------------------- reachability

void GameChecker::checkReachability()
{
    // Going back only returns to frames already visited, so only actions and
    // timers lead anywhere new.
    QSet<QString> reached;
    std::deque<QString> queue;
    const QString initial = m_graph.initialFrameExists ? m_graph.initialFrame : QString();
    if (!initial.isEmpty()) {
        reached.insert(initial);
        queue.push_back(initial);
    }
    while (!queue.empty()) {
        const QString from = queue.front();
        queue.pop_front();
        for (const FrameGraph::Link& link : m_graph.links) {
            if (link.from == from && !link.broken && link.kind != Kind::Back && !reached.contains(link.to)) {
                reached.insert(link.to);
                queue.push_back(link.to);
            }
        }
    }
    // A way back leads to every frame that leads here.
    std::vector<FrameGraph::Link> back;
    for (const FrameGraph::Link& link : m_graph.links) {
        if (link.kind != Kind::Back)
            continue;
        QSet<QString> sources;
        for (const FrameGraph::Link& into : m_graph.links) {
            if (into.kind != Kind::Back && !into.broken && into.to == link.from && into.from != link.from && !sources.contains(into.from)) {
                sources.insert(into.from);
                back.push_back({link.from, into.from, Kind::Back, link.label, false});
            }
        }
    }
    std::erase_if(m_graph.links, [](const FrameGraph::Link& link) { return link.kind == Kind::Back; });
    m_graph.links.insert(m_graph.links.end(), back.begin(), back.end());
    if (initial.isEmpty())
        return;
    for (const QString& frame : std::as_const(m_graph.frames)) {
        if (reached.contains(frame))
            continue;
        m_graph.unreachable.insert(frame);
        warning(relative(m_rt->project.FramesPath + frame + QStringLiteral(".fme")), QStringLiteral("the frame %1").arg(quoted(frame)),
                QStringLiteral("cannot be reached from the initial frame %1 by any action or timer").arg(quoted(initial)));
    }
}

} // namespace authoring
