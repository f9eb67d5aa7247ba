#include "devices/sound_font.h"

#include "base/failure.h"

#include <QFile>
#include <QFileInfo>

namespace devices {

void CheckSoundFont(const QString& file)
{
    if (!QFileInfo::exists(file))
        throw base::Failure(QStringLiteral("the soundfont %1 does not exist").arg(file));
    QFile font(file);
    if (QFileInfo(file).isDir() || !font.open(QIODevice::ReadOnly))
        throw base::Failure(QStringLiteral("cannot read the soundfont %1: %2").arg(file, QFileInfo(file).isDir() ? QStringLiteral("it is a folder") : font.errorString()));
    // "RIFF", the size of the rest, then the form type.
    const QByteArray head = font.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "sfbk")
        throw base::Failure(QStringLiteral("the soundfont %1 is not an SF2 or SF3 file").arg(file));
}

} // namespace devices
