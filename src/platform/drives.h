#pragma once

#include <QChar>
#include <QString>

#include <vector>

namespace platform {

// Drive letters as the games know them, mapped to the volumes mounted here:
// C: is the root file system; D: onwards are, in the order of their mount
// points, optical media (CD-ROM drives), removable media, network file
// systems, RAM disks and other disks mounted under /media, /run/media or
// /mnt. A game copied from a CD image mounted on Linux so finds its data on
// a "CD-ROM drive".
class Drives {
public:
    enum Type { Unknown = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

    struct Drive {
        QChar letter;
        Type type;
        QString root; // the mount point, ending in '/'
    };

    // From a mount table in the form of /proc/mounts.
    static Drives fromMountTable(const QString& table);
    // From this system's mount table.
    static Drives fromSystem();

    const std::vector<Drive>& drives() const { return m_drives; }
    // The drive type of a letter; 1 (no such drive) when there is none.
    Type type(QChar letter) const;
    // The folder a letter stands for, or "" when there is no such drive.
    QString root(QChar letter) const;

private:
    std::vector<Drive> m_drives;
};

} // namespace platform
