#include "platform/safe_file.h"

#include "platform/failure.h"

#include <QCoreApplication>
#include <QFile>

#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace platform {

void WriteFileSafely(const std::filesystem::path& target, const QByteArray& bytes)
{
    // A short name beside the target, so the target's own name may use the
    // whole length a file system allows; a leftover of a crash is replaced.
    const std::filesystem::path temporary = target.parent_path() / ("~loomplay-" + std::to_string(QCoreApplication::applicationPid()) + ".new");
    const QString name = QString::fromStdString(temporary.string());
    QFile::remove(name);
    QFile file(name);
    auto fail = [&](const QString& why) {
        file.close();
        QFile::remove(name);
        throw Failure(why);
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        throw Failure(file.errorString());
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
        throw Failure(QString::fromStdString(ec.message()));
    }
#ifndef _WIN32
    // The rename itself reaches the disk with the folder.
    QFile folder(QString::fromStdString(target.parent_path().string()));
    if (folder.open(QIODevice::ReadOnly))
        ::fsync(folder.handle());
#endif
}

} // namespace platform
