#pragma once

#include <QByteArray>
#include <QImage>

namespace pictures {

// A picture of a format Qt reads (BMP, JPG, GIF, ICO, CUR), the format
// named or, with nullptr, taken from the content; a null image when the
// bytes are no such picture or claim more than a screen could show.
QImage ReadImage(QByteArray bytes, const char* format);

// A device-independent bitmap from its header and colours and its pixels,
// as metafiles store them; a null image when they are no bitmap.
QImage DecodeDib(const QByteArray& info, const QByteArray& bits);
// The same held in one block, the colours' length taken from the header.
QImage DecodeDib(const QByteArray& packed);

} // namespace pictures
