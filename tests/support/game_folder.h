#pragma once

#include "formats/quoted_field_writer.h"

#include <QColor>
#include <QSize>
#include <QString>
#include <QTemporaryDir>

#include <initializer_list>
#include <variant>

namespace testsupport {

// One field of a data file as the authoring tool writes it.
using Field = std::variant<QString, const char*, double, int, bool>;

// Config\General, group by group. Groups after `groups` are left out, as in
// an older file.
struct GeneralSettings {
    QString name = QStringLiteral("Test Game");
    QString initialFrame = QStringLiteral("Start");
    QString version = QStringLiteral("1.0");
    int width = 640;
    int height = 480;
    QString author = QStringLiteral("A. Author");
    QString email = QStringLiteral("author@example.org");
    QString webSite = QStringLiteral("https://example.org");
    int displayChangeMode = 1;
    QString scheme;
    bool singleSound = false;
    bool hideLoadButton = false;
    bool hideSaveMenu = false;
    int spacingX = 10;
    int marginY = 10;
    bool inventoryEnabled = true;
    bool slideOpen = true;
    bool slideClose = false;
    bool customPictures = false;
    QString tabPicture = QStringLiteral("DEFAULT");
    QString backgroundPicture = QStringLiteral("DEFAULT");
    int resolution = 0;
    int groups = 5;
};

// Copies every file below from into to, keeping the folders; false when one
// cannot be copied.
bool CopyFolder(const QString& from, const QString& to);

// A game folder built in a temporary directory with the player's own writer.
class GameFolder {
public:
    GameFolder();

    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const;

    // A quoted-field file of one record per line given.
    void write(const QString& relative, std::initializer_list<std::initializer_list<Field>> records);
    void writeBytes(const QString& relative, const QByteArray& bytes);
    void remove(const QString& relative);
    // A picture file (BMP, PNG, GIF... by extension) of one colour.
    void picture(const QString& relative, int width, int height, QColor colour = Qt::red);

    // An animated GIF of the colours given, one frame each.
    void animation(const QString& relative, std::initializer_list<QColor> colours, int width = 8, int height = 8);
    // An MS Video 1 AVI of one colour, with a tone as its PCM sound track
    // unless silent, made by Debian's ffmpeg; false when it could not be made.
    bool video(const QString& relative, int milliseconds, QColor colour = Qt::red, QSize size = QSize(64, 48), int fps = 10,
               bool sound = true);
    // An area file of a frame: place and size (twips), animated, picture,
    // stretch, cursor, and the zero and one condition lists.
    void area(const QString& frame, int index, int left, int top, int width, int height, const QString& picture = QString(),
              bool stretch = false, const QString& cursor = QString(), std::initializer_list<const char*> zeroList = {},
              std::initializer_list<const char*> oneList = {}, bool animated = false);

    void general(const GeneralSettings& settings = {});
    // A frame file of the 10 fields that are always read; its background
    // is a colour (mode 0) unless changed.
    void frame(const QString& name, std::initializer_list<Field> fields = {});
    void variables(std::initializer_list<const char*> names);

private:
    QTemporaryDir m_dir;
};

} // namespace testsupport
