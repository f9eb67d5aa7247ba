#include "devices/media_module.h"

#include "devices/media_backend.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace devices {

MediaModule::MediaModule(std::function<void(const QString&)> notice, QStringList folders)
    : m_notice(std::move(notice)), m_folders(std::move(folders))
{
}

MediaModule::~MediaModule() = default;

QStringList MediaModule::ProgramFolders()
{
    if (!QCoreApplication::instance())
        return {};
    const QDir program(QCoreApplication::applicationDirPath());
    return {program.path(), QDir::cleanPath(program.filePath(QStringLiteral(LOOM_MEDIA_MODULE_FROM_PROGRAM)))};
}

MediaBackend* MediaModule::backend()
{
    std::lock_guard lock(m_mutex);
    if (!m_tried) {
        m_tried = true;
        m_error = load();
        if (!m_error.isEmpty() && m_notice)
            m_notice(QStringLiteral("The media module cannot be loaded: %1; the game plays silently and without videos.").arg(m_error));
    }
    return m_backend.get();
}

bool MediaModule::missing()
{
    std::lock_guard lock(m_mutex);
    return m_tried && !m_backend;
}

QString MediaModule::error()
{
    std::lock_guard lock(m_mutex);
    return m_error;
}

QString MediaModule::load()
{
    for (const QString& folder : m_folders) {
        const QDir dir(folder);
        if (dir.entryList({QString::fromLatin1(FileName) + QStringLiteral(".*")}, QDir::Files).isEmpty())
            continue;
        // A library the module needs that is not installed fails the load
        // here, named in the error, not at a later call.
        QLibrary library(dir.filePath(QString::fromLatin1(FileName)));
        if (!library.load())
            return library.errorString();
        const auto make = reinterpret_cast<MakeMediaBackendFunction>(library.resolve(kMakeMediaBackendSymbol));
        if (!make)
            return QStringLiteral("%1 is not the player's media module").arg(library.fileName());
        m_backend.reset(make(MediaBackend::InterfaceVersion));
        if (!m_backend)
            return QStringLiteral("%1 was built for another version of the player").arg(library.fileName());
        return {};
    }
    return QStringLiteral("no %1.so in %2").arg(QString::fromLatin1(FileName),
                                                m_folders.isEmpty() ? QStringLiteral("any folder") : m_folders.join(QStringLiteral(", ")));
}

} // namespace devices
