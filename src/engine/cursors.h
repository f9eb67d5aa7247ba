#pragma once

#include <QCursor>
#include <QImage>
#include <QPoint>
#include <QString>

namespace run {
class Context;
}
namespace platform {
class Element;
}

namespace engine {

// The picture of a .cur or .ico file and its hot spot ((-1, -1), the
// middle, for an icon). Throws base::Failure when the bytes are no cursor.
struct CursorPicture {
    QImage image;
    QPoint hotSpot{-1, -1};
};
CursorPicture DecodeCursor(const QByteArray& bytes);

// A mouse pointer from a game's .cur or .ico file (or its packaged name);
// the hot spot of a .cur comes from the file's first directory entry.
// Throws base::Failure when the file cannot be read.
QCursor LoadCursorFile(run::Context& rt, const QString& path);

// Gives one element the project's default pointer; failures leave the
// element as it was, silently.
void ApplyDefaultCursor(run::Context& rt, platform::Element& element);

} // namespace engine
