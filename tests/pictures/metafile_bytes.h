#pragma once

#include "demo/metafile_writer.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>

#include <functional>
#include <vector>

// The bytes of metafiles for the metafile tests: pictures written by
// libuemf (through the demo's writer), records built by hand and put into
// them, and the files under tests/data/metafiles that other programs wrote.
namespace metafile_bytes {

QByteArray ReadFile(const QString& path);

// A picture of the kind written with what draw puts in it.
QByteArray Written(MetafileWriter::Kind kind, QSize size, const std::function<void(MetafileWriter&)>& draw);

// A file of tests/data/metafiles.
QByteArray DataFile(const QString& name);

// An EMF picture of the size whose records are the ones given, and an EMF
// record of a type with its 32-bit values and bytes after them.
QByteArray EmfWith(const QByteArray& records, QSize size = QSize(100, 100));
QByteArray Emr(quint32 type, const std::vector<qint32>& values, const QByteArray& tail = {});
qint32 Float(float value);
qint32 Color(QColor color);
// Region data of rectangles (right and bottom outside them).
QByteArray RegionData(const std::vector<QRect>& rects);

// The same for WMF: records of 16-bit words.
QByteArray WmfWith(const QByteArray& records, QSize size = QSize(100, 100));
QByteArray Meta(quint16 function, const std::vector<qint32>& words, const QByteArray& tail = {});

bool IsTransparent(const QImage& image, int x, int y);

} // namespace metafile_bytes
