#include "platform/safe_file.h"

#include "base/failure.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryFile>

#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

namespace platform {

namespace {

const std::string kLeftoverPrefix = "~loomplay-";
const std::string kLeftoverSuffix = ".new";

// A lock that lives as long as the open file: the system drops it when the
// writing process ends, however it ends.
bool lockExclusively(int handle)
{
#ifdef _WIN32
    // An open file cannot be removed on Windows: the open itself protects it.
    (void)handle;
    return true;
#else
    return ::flock(handle, LOCK_EX | LOCK_NB) == 0;
#endif
}

} // namespace

void WriteFileSafely(const std::filesystem::path& target, const QByteArray& bytes)
{
    // A short name beside the target, so the target's own name may use the
    // whole length a file system allows; a leftover of a crash is replaced.
    const std::filesystem::path temporary
        = target.parent_path() / (kLeftoverPrefix + std::to_string(QCoreApplication::applicationPid()) + kLeftoverSuffix);
    const QString name = QString::fromStdString(temporary.string());
    QFile::remove(name);
    QFile file(name);
    auto fail = [&](const QString& why) {
        file.close();
        QFile::remove(name);
        throw base::Failure(why);
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        throw base::Failure(file.errorString());
    if (!lockExclusively(file.handle()))
        fail(QStringLiteral("Cannot lock %1").arg(name));
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            fail(file.errorString());
        done += n;
    }
    if (!file.flush())
        fail(file.errorString());
#ifdef _WIN32
    if (_commit(file.handle()) != 0)
        fail(QStringLiteral("Cannot flush %1").arg(name));
#else
    if (::fsync(file.handle()) != 0)
        fail(QStringLiteral("Cannot flush %1").arg(name));
#endif
    file.close();
    if (file.error() != QFileDevice::NoError)
        fail(file.errorString());
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec);
    if (ec) {
        QFile::remove(name);
        throw base::Failure(QString::fromStdString(ec.message()));
    }
#ifndef _WIN32
    // The rename itself reaches the disk with the folder.
    QFile folder(QString::fromStdString(target.parent_path().string()));
    if (folder.open(QIODevice::ReadOnly))
        ::fsync(folder.handle());
#endif
}

void RemoveLeftoverWrites(const std::filesystem::path& folder)
{
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() <= kLeftoverPrefix.size() + kLeftoverSuffix.size() || !name.starts_with(kLeftoverPrefix)
            || !name.ends_with(kLeftoverSuffix))
            continue;
        QFile file(QString::fromStdString(entry.path().string()));
        // Not ours to judge when it cannot be opened; a lock held means a
        // write of a running player.
        if (!file.open(QIODevice::ReadOnly) || !lockExclusively(file.handle()))
            continue;
        QFile::remove(file.fileName());
    }
}

bool FolderTakesNewFiles(const std::filesystem::path& folder)
{
    QTemporaryFile probe(QString::fromStdString((folder / (kLeftoverPrefix + "probe-XXXXXX" + kLeftoverSuffix)).string()));
    return probe.open();
}

} // namespace platform
