#include "engine/screenshots.h"

#include "base/failure.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace engine {

namespace {

// The game's name as a file name: characters no file name may hold, or that
// would lead elsewhere, become dashes.
QString fileNameOf(const QString& gameName)
{
    QString name = gameName.trimmed();
    for (QChar& c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.category() == QChar::Other_Control)
            c = u'-';
    }
    while (name.startsWith(u'.'))
        name.remove(0, 1);
    return name.isEmpty() ? QStringLiteral("loomplay") : name;
}

} // namespace

QString Screenshots::save(const QImage& picture, const QString& gameName, const QDateTime& at) const
{
    if (picture.isNull())
        throw base::Failure("There is no picture to save");
    if (!QDir().mkpath(m_folder))
        throw base::Failure(QStringLiteral("Cannot make the folder %1").arg(m_folder));
    const QString stem = QStringLiteral("%1 %2").arg(fileNameOf(gameName), at.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")));
    QString path = QDir(m_folder).filePath(stem + QStringLiteral(".png"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(m_folder).filePath(QStringLiteral("%1 (%2).png").arg(stem).arg(n));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !picture.save(&file, "PNG") || !file.commit())
        throw base::Failure(QStringLiteral("Cannot write %1").arg(path));
    return path;
}

} // namespace engine
