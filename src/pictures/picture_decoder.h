#pragma once

#include "base/lazy_image.h"

#include <QByteArray>
#include <QImage>

namespace pictures {

// Every kind of picture a game may hold: BMP, JPG, GIF, ICO, CUR, and the
// Windows metafiles WMF and EMF, recognised by their content whatever their
// name. A null picture when the bytes are no picture.
//
// Pictures of pixels are decoded at once. A metafile's size comes from its
// headers, the one place it can fail, and it is drawn when first looked at:
// drawing its text has Qt read the desktop's whole font database, which a
// window nobody sees (a headless run up to its first shot) never needs.
base::LazyImage ReadPicture(const QByteArray& bytes);

// The same, drawn at once.
QImage DecodePicture(const QByteArray& bytes);

} // namespace pictures
