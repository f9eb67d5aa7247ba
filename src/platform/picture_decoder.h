#pragma once

#include <QByteArray>
#include <QImage>

namespace platform {

// Every kind of picture a game may hold: BMP, JPG, GIF, ICO, CUR, and the
// Windows metafiles WMF and EMF, recognised by their content whatever their
// name. A null image when the bytes are no picture.
QImage DecodePicture(const QByteArray& bytes);

// A device-independent bitmap from its header and colours and its pixels,
// as metafiles store them; a null image when they are no bitmap.
QImage DecodeDib(const QByteArray& info, const QByteArray& bits);
// The same held in one block, the colours' length taken from the header.
QImage DecodeDib(const QByteArray& packed);

} // namespace platform
