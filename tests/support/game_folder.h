#pragma once

#include "formats/quoted_field_writer.h"

#include <QColor>
#include <QString>
#include <QTemporaryDir>

#include <initializer_list>
#include <variant>

namespace testsupport {

// One field of a data file as the authoring tool writes it.
using Field = std::variant<QString, const char*, double, int, bool>;

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
    // An area file of a frame: place and size (twips), animated, picture,
    // stretch, cursor, and the zero and one condition lists.
    void area(const QString& frame, int index, int left, int top, int width, int height, const QString& picture = QString(),
              bool stretch = false, const QString& cursor = QString(), std::initializer_list<const char*> zeroList = {},
              std::initializer_list<const char*> oneList = {}, bool animated = false);

    // Config\General with group 1 and, when full, every later group.
    void general(const QString& name = QStringLiteral("Test Game"), const QString& initialFrame = QStringLiteral("Start"),
                 int width = 640, int height = 480, bool full = true);
    // A frame file of the 10 fields that are always read; its background
    // is a colour (mode 0) unless changed.
    void frame(const QString& name, std::initializer_list<Field> fields = {});
    void variables(std::initializer_list<const char*> names);

private:
    QTemporaryDir m_dir;
};

} // namespace testsupport
