#pragma once

#include <QByteArray>
#include <QString>

namespace devices {

// Where a sound is read from: a file the decoder opens itself (the sound
// track of a video), or bytes already read.
struct AudioSource {
    QString path;
    QByteArray bytes;
};

} // namespace devices
