#include "run/save_folders.h"

#include "base/failure.h"
#include "platform/safe_file.h"
#include "run/context.h"

#include <QDir>

namespace run {

SaveFolders::SaveFolders(Context& rt) : m_rt(rt)
{
    const RuntimeOptions& options = rt.options();
    // Before start-up has fixed the game folder there is nothing to try.
    if (const auto game = rt.project.ProjectPath.isEmpty() ? std::nullopt : rt.files.resolve(rt.project.ProjectPath)) {
        const QString folder = QString::fromStdString(game->string());
        m_gameWritable = options.folderWritable ? options.folderWritable(folder) : platform::FolderTakesNewFiles(*game);
    }
    if (!options.playerDataFolder.isEmpty())
        m_own = QDir(options.playerDataFolder).filePath(QStringLiteral("saves/") + folderNameOf(rt.project.ProjectKey)) + u'/';
}

QStringList SaveFolders::readFolders() const
{
    if (m_gameWritable || m_own.isEmpty())
        return {m_rt.project.ProjectPath};
    return {m_own, m_rt.project.ProjectPath};
}

QString SaveFolders::writeFolder() const
{
    return m_gameWritable || m_own.isEmpty() ? m_rt.project.ProjectPath : m_own;
}

QString SaveFolders::pathOf(const QString& fileName) const
{
    for (const QString& folder : readFolders()) {
        if (m_rt.files.fileExists(folder + fileName))
            return folder + fileName;
    }
    return writeFolder() + fileName;
}

void SaveFolders::makeWriteFolder() const
{
    const QString folder = writeFolder();
    if (folder == m_own && !QDir().mkpath(folder))
        throw base::Failure(QStringLiteral("Cannot make the folder %1").arg(folder));
}

QString SaveFolders::folderNameOf(const QString& key)
{
    QString name = key;
    for (QChar& c : name) {
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u'_';
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("_");
    return name;
}

} // namespace run
