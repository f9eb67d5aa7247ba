#include "app/application_identity.h"

#include <QApplication>
#include <QDir>

namespace app {

QIcon ApplicationIcon()
{
    // The build puts every size drawn into the program's resources; each
    // file says its own size.
    QIcon icon;
    const QDir folder(QStringLiteral(":/icons"));
    for (const QString& file : folder.entryList({QStringLiteral("loomplay-*.png")}, QDir::Files))
        icon.addFile(folder.filePath(file));
    return icon;
}

void SetApplicationIdentity()
{
    QApplication::setApplicationName(QStringLiteral("loomplay"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
    QApplication::setWindowIcon(ApplicationIcon());
}

} // namespace app
