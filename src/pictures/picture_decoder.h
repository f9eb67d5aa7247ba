#pragma once

#include <QByteArray>
#include <QImage>

namespace pictures {

// Every kind of picture a game may hold: BMP, JPG, GIF, ICO, CUR, and the
// Windows metafiles WMF and EMF, recognised by their content whatever their
// name. A null image when the bytes are no picture.
QImage DecodePicture(const QByteArray& bytes);

} // namespace pictures
