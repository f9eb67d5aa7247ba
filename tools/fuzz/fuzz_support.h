#pragma once

// What the fuzz targets share: an offscreen Qt application (fonts and
// windows need one), a copy of the demo game to play in, and a scripted
// player on it.
#include "app/runtime.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace fuzz {

// Makes the application once; every target calls it first.
void StartQt();

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// A folder of the fuzz run's own, removed at exit.
QString ScratchFolder();

// The demo game copied into the scratch folder once; the copy's path.
QString DemoCopy();

// A scripted player on the demo copy, its welcome window loaded.
std::unique_ptr<app::Runtime> DemoPlayer();

} // namespace fuzz
