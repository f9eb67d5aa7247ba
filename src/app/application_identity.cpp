#include "app/application_identity.h"

#include "app/sized_icon_engine.h"

#include <QApplication>
#include <QDir>

namespace app {

QIcon ApplicationIcon()
{
    // The build puts every size drawn into the program's resources, named
    // after its side: loomplay-48.png. Read when a size is first shown.
    QMap<int, QString> files;
    const QDir folder(QStringLiteral(":/icons"));
    const QString prefix = QStringLiteral("loomplay-"), suffix = QStringLiteral(".png");
    for (const QString& file : folder.entryList({prefix + u'*' + suffix}, QDir::Files)) {
        bool isSide = false;
        const int side = file.sliced(prefix.size(), file.size() - prefix.size() - suffix.size()).toInt(&isSide);
        if (isSide)
            files.insert(side, folder.filePath(file));
    }
    // The icon owns its engine.
    return QIcon(new SizedIconEngine(std::move(files)));
}

void SetApplicationIdentity()
{
    QApplication::setApplicationName(QStringLiteral("loomplay"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QApplication::setWindowIcon(ApplicationIcon());
}

} // namespace app
