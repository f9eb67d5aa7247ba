#include "support/game_folder.h"

#include "support/ffmpeg.h"

#include "demo/authoring.h"
#include "demo/gif_writer.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace testsupport {

bool CopyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            return false;
    }
    return true;
}


namespace {

void writeField(formats::QuotedFieldWriter& w, const Field& f)
{
    std::visit(
        [&w](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, QString>)
                w.string(v);
            else if constexpr (std::is_same_v<T, const char*>)
                w.string(QString::fromUtf8(v));
            else if constexpr (std::is_same_v<T, bool>)
                w.boolean(v);
            else
                w.number(static_cast<double>(v));
        },
        f);
}

} // namespace

GameFolder::GameFolder()
{
    for (const char* sub : {"Config", "Frames", "Areas", "Icons", "Inventory", "Schemes"})
        QDir(m_dir.path()).mkpath(QString::fromLatin1(sub));
}

QString GameFolder::file(const QString& relative) const
{
    QString r = relative;
    r.replace(u'\\', u'/');
    return m_dir.filePath(r);
}

void GameFolder::writeBytes(const QString& relative, const QByteArray& bytes)
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}

void GameFolder::remove(const QString& relative)
{
    QFile::remove(file(relative));
}

void GameFolder::write(const QString& relative, std::initializer_list<std::initializer_list<Field>> records)
{
    formats::QuotedFieldWriter w;
    for (const auto& record : records) {
        for (const Field& f : record)
            writeField(w, f);
        w.endRecord();
    }
    writeBytes(relative, w.bytes());
}

void GameFolder::picture(const QString& relative, int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString suffix = QFileInfo(path).suffix().toLower();
    // Packaged names (".004") hold a BMP.
    const char* format = suffix == QLatin1String("jpg") ? "JPG" : suffix == QLatin1String("png") ? "PNG" : "BMP";
    image.save(path, format);
}

void GameFolder::animation(const QString& relative, std::initializer_list<QColor> colours, int width, int height)
{
    std::vector<QImage> frames;
    for (const QColor& c : colours) {
        QImage frame(width, height, QImage::Format_RGB32);
        frame.fill(c);
        frames.push_back(frame);
    }
    writeBytes(relative, demo::EncodeAnimatedGif(frames, 10));
}

void GameFolder::area(const QString& frame, int index, int left, int top, int width, int height, const QString& picture,
                      bool stretch, const QString& cursor, std::initializer_list<const char*> zeroList,
                      std::initializer_list<const char*> oneList, bool animated)
{
    auto names = [](std::initializer_list<const char*> list) {
        QStringList out;
        for (const char* n : list)
            out << QString::fromUtf8(n);
        return out;
    };
    writeBytes(QStringLiteral("Areas/%1/%2a.dat").arg(frame).arg(index),
               demo::AreaFile(left, top, width, height, animated, picture, stretch, cursor, names(zeroList), names(oneList)));
}

void GameFolder::general(const GeneralSettings& g)
{
    formats::QuotedFieldWriter w;
    w.string(QStringLiteral("TESTKEY")).string(QString()).string(g.name).number(0).string(g.initialFrame).string(g.version)
        .number(g.width).number(g.height).string(g.author).string(g.email).string(g.webSite).endRecord();
    if (g.groups >= 2)
        w.number(g.displayChangeMode).endRecord();
    if (g.groups >= 3)
        w.number(0).number(0).number(0).string(g.scheme).endRecord();
    if (g.groups >= 4)
        w.number(0).number(0).boolean(g.singleSound).boolean(g.hideLoadButton).boolean(g.hideSaveMenu).number(0).endRecord();
    if (g.groups >= 5) {
        w.number(0).number(0).number(g.spacingX).number(g.marginY).boolean(g.inventoryEnabled).boolean(g.slideOpen)
            .boolean(g.slideClose).boolean(true).boolean(true).boolean(g.customPictures).string(g.tabPicture)
            .string(g.backgroundPicture).number(g.resolution).number(0).number(0).string(QStringLiteral("default")).endRecord();
    }
    writeBytes(QStringLiteral("Config/General"), w.bytes());
}

void GameFolder::frame(const QString& name, std::initializer_list<Field> fields)
{
    formats::QuotedFieldWriter w;
    if (fields.size() == 0) {
        // mode 0, colour, not tiled, stop MIDI, MIDI, timer, duration, target, video, MIDI after video
        w.number(0).string(QStringLiteral("255")).boolean(false).boolean(false).string(QString()).boolean(false)
            .number(0).string(QString()).string(QString()).boolean(false).endRecord();
    } else {
        for (const Field& f : fields)
            writeField(w, f);
        w.endRecord();
    }
    writeBytes(QStringLiteral("Frames/") + name + QStringLiteral(".fme"), w.bytes());
}

void GameFolder::variables(std::initializer_list<const char*> names)
{
    formats::QuotedFieldWriter w;
    w.number(static_cast<double>(names.size())).endRecord();
    for (const char* n : names)
        w.line(QString::fromUtf8(n));
    writeBytes(QStringLiteral("Config/Variables"), w.bytes());
}

bool GameFolder::video(const QString& relative, int milliseconds, QColor colour, QSize size, int fps, bool sound)
{
    const QString target = file(relative);
    QDir().mkpath(QFileInfo(target).absolutePath());
    const QString seconds = QString::number(milliseconds / 1000.0);
    QStringList arguments{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                          QStringLiteral("color=c=%1:size=%2x%3:rate=%4").arg(colour.name()).arg(size.width()).arg(size.height()).arg(fps)};
    if (sound)
        arguments << QStringLiteral("-f") << QStringLiteral("lavfi") << QStringLiteral("-i") << QStringLiteral("sine=frequency=440:sample_rate=22050");
    arguments << QStringLiteral("-t") << seconds << QStringLiteral("-c:v") << QStringLiteral("msvideo1") << QStringLiteral("-pix_fmt")
              << QStringLiteral("rgb555le");
    if (sound)
        arguments << QStringLiteral("-c:a") << QStringLiteral("pcm_s16le");
    arguments << target;
    return RunFfmpeg(arguments);
}

} // namespace testsupport
