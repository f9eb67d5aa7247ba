#include "platform/drives.h"

#include <QFile>
#include <QStorageInfo>

#include <algorithm>

namespace platform {

namespace {

// Mount tables escape blanks and a few other characters as octal.
QString unescape(const QString& field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == u'\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool userMount(const QString& point)
{
    return point.startsWith(QLatin1String("/media/")) || point.startsWith(QLatin1String("/run/media/")) || point.startsWith(QLatin1String("/mnt/"))
        || point == QLatin1String("/mnt");
}

Drives::Type classify(const QString& point, const QString& type)
{
    if (point == QLatin1String("/"))
        return Drives::Fixed;
    static const QStringList optical{QStringLiteral("iso9660"), QStringLiteral("udf")};
    static const QStringList remote{QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"), QStringLiteral("smb3"),
                                    QStringLiteral("smbfs"), QStringLiteral("fuse.sshfs"), QStringLiteral("9p"), QStringLiteral("afs")};
    static const QStringList ram{QStringLiteral("tmpfs"), QStringLiteral("ramfs")};
    static const QStringList removable{QStringLiteral("vfat"), QStringLiteral("exfat"), QStringLiteral("msdos"), QStringLiteral("fuseblk"),
                                       QStringLiteral("ntfs"), QStringLiteral("ntfs3")};
    if (optical.contains(type))
        return Drives::CdRom;
    if (remote.contains(type))
        return Drives::Remote;
    if (!userMount(point))
        return Drives::Unknown;
    if (ram.contains(type))
        return Drives::RamDisk;
    if (removable.contains(type))
        return Drives::Removable;
    return Drives::Fixed;
}

} // namespace

Drives Drives::fromMountTable(const QString& table)
{
    struct Mount {
        QString point;
        Type type;
    };
    std::vector<Mount> mounts;
    bool root = false;
    for (const QString& line : table.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.simplified().split(u' ');
        if (fields.size() < 3)
            continue;
        const QString point = unescape(fields[1]);
        const Type type = classify(point, fields[2]);
        if (type == Unknown)
            continue;
        if (point == QLatin1String("/")) {
            root = true;
            continue;
        }
        if (std::none_of(mounts.begin(), mounts.end(), [&](const Mount& m) { return m.point == point; }))
            mounts.push_back({point, type});
    }
    std::sort(mounts.begin(), mounts.end(), [](const Mount& a, const Mount& b) { return a.point < b.point; });
    Drives drives;
    if (root)
        drives.m_drives.push_back({QChar(u'C'), Fixed, QStringLiteral("/")});
    char letter = 'D';
    for (const Mount& m : mounts) {
        if (letter > 'Z')
            break;
        drives.m_drives.push_back({QChar::fromLatin1(letter++), m.type, m.point.endsWith(u'/') ? m.point : m.point + u'/'});
    }
    return drives;
}

Drives Drives::fromSystem()
{
    QFile mounts(QStringLiteral("/proc/self/mounts"));
    if (mounts.open(QIODevice::ReadOnly))
        return fromMountTable(QString::fromLocal8Bit(mounts.readAll()));
    QString table;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        table += QStringLiteral("%1 %2 %3 rw 0 0\n").arg(QString::fromLocal8Bit(volume.device()), volume.rootPath(),
                                                         QString::fromLocal8Bit(volume.fileSystemType()));
    return fromMountTable(table);
}

Drives::Type Drives::type(QChar letter) const
{
    for (const Drive& d : m_drives) {
        if (d.letter == letter.toUpper())
            return d.type;
    }
    return Unknown;
}

QString Drives::root(QChar letter) const
{
    for (const Drive& d : m_drives) {
        if (d.letter == letter.toUpper())
            return d.root;
    }
    return QString();
}

} // namespace platform
