#include "platform/file_resolver.h"

#include "base/failure.h"

#include <QFile>

#ifndef _WIN32
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {

namespace {

QString lower(const fs::path& p)
{
    return QString::fromStdString(p.string()).toLower();
}

enum class Read { Done, Missing, Failed, TooLarge };

// Reads a whole regular file of at most limit bytes: one open, one size check
// and one read (more only when the file grows meanwhile, never past the
// limit). Missing when nothing of that name is there, so that the caller may
// look for it without regard to case. Anything but a regular file (a named
// pipe, a device, a folder) fails without waiting for it.
Read readRegularFile(const fs::path& path, qint64 limit, QByteArray& out)
{
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return fs::exists(path, ec) ? Read::Failed : Read::Missing;
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return Read::Failed;
    if (file.size() > limit)
        return Read::TooLarge;
    out = file.read(limit + 1);
    return out.size() > limit ? Read::TooLarge : Read::Done;
#else
    // Not blocking: opening a named pipe would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? Read::Missing : Read::Failed;
    struct stat info {};
    Read result = Read::Failed;
    const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0;
    if (regular && info.st_size > limit) {
        result = Read::TooLarge;
    } else if (regular) {
        out.resize(static_cast<qsizetype>(info.st_size));
        qsizetype done = 0;
        result = Read::Done;
        while (true) {
            if (done > limit) {
                result = Read::TooLarge;
                break;
            }
            if (done == out.size())
                out.resize(done + 4096);
            const ssize_t n = ::read(fd, out.data() + done, static_cast<std::size_t>(out.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                result = Read::Failed;
                break;
            }
            if (n == 0)
                break;
            done += n;
        }
        out.resize(done);
    }
    ::close(fd);
    return result;
#endif
}

} // namespace

QString FileResolver::nativeSeparators(const QString& path)
{
    QString out = path;
    out.replace(u'\\', u'/');
    return out;
}

void FileResolver::setDriveRoots(std::map<QChar, QString> roots)
{
    std::lock_guard lock(m_cacheMutex);
    m_driveRoots = std::move(roots);
}

void FileResolver::forgetListings()
{
    std::lock_guard lock(m_cacheMutex);
    m_cache.clear();
}

FileResolver::ListingPtr FileResolver::listing(const fs::path& dir) const
{
    std::error_code ec;
    const auto stamp = fs::last_write_time(dir, ec);
    if (ec)
        return nullptr;
    {
        std::lock_guard lock(m_cacheMutex);
        auto it = m_cache.find(dir);
        if (it != m_cache.end() && it->second->stamp == stamp)
            return it->second;
    }
    // The folder is read outside the lock; two threads that both miss read
    // it twice, and the later copy stays.
    auto fresh = std::make_shared<Listing>();
    fresh->stamp = stamp;
    for (fs::directory_iterator entries(dir, ec), end; !ec && entries != end; entries.increment(ec))
        fresh->names.push_back(entries->path().filename());
    if (ec)
        return nullptr;
    std::lock_guard lock(m_cacheMutex);
    m_cache.insert_or_assign(dir, fresh);
    return fresh;
}

std::optional<fs::path> FileResolver::matchInDir(const fs::path& dir, const fs::path& name) const
{
    std::error_code ec;
    const fs::path exact = dir / name;
    if (fs::exists(exact, ec))
        return exact;
    const ListingPtr entries = listing(dir.empty() ? fs::path(".") : dir);
    if (!entries)
        return std::nullopt;
    const QString wanted = lower(name);
    for (const fs::path& candidate : entries->names) {
        if (lower(candidate) == wanted)
            return dir / candidate;
    }
    return std::nullopt;
}

QString FileResolver::mapDrive(const QString& path) const
{
    if (path.size() < 2 || path[1] != u':' || !path[0].isLetter())
        return path;
    QString root;
    {
        std::lock_guard lock(m_cacheMutex);
        auto it = m_driveRoots.find(path[0].toUpper());
        if (it == m_driveRoots.end())
            return QString();
        root = it->second;
    }
    QString rest = path.mid(2);
    while (rest.startsWith(u'\\') || rest.startsWith(u'/'))
        rest.remove(0, 1);
    return root + rest;
}

std::optional<fs::path> FileResolver::resolve(const QString& asGiven) const
{
    // A drive letter stands for the folder of its volume; an unknown one
    // names nothing.
    const QString path = mapDrive(asGiven);
    if (path.isEmpty())
        return std::nullopt;
    const fs::path wanted(nativeSeparators(path).toStdString());
    std::error_code ec;
    if (fs::exists(wanted, ec))
        return wanted;
    fs::path current = wanted.root_path();
    for (const fs::path& part : wanted.relative_path()) {
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            // Above the working folder a relative path keeps climbing.
            if (current.empty() || current.filename() == "..")
                current /= part;
            else
                current = current.parent_path();
            continue;
        }
        auto found = matchInDir(current, part);
        if (!found)
            return std::nullopt;
        current = *found;
    }
    return current;
}

bool FileResolver::fileExists(const QString& path) const
{
    // A name that ends in a separator names a folder, never a file.
    if (path.endsWith(u'\\') || path.endsWith(u'/'))
        return false;
    // The name as given first: one look at the file system when it is there.
    const QString mapped = mapDrive(path);
    if (mapped.isEmpty())
        return false;
    std::error_code ec;
    const fs::file_status status = fs::status(fs::path(nativeSeparators(mapped).toStdString()), ec);
    if (fs::is_regular_file(status))
        return true;
    if (fs::exists(status))
        return false;
    const auto found = resolve(path);
    return found && fs::is_regular_file(*found, ec);
}

bool FileResolver::dirExists(const QString& path) const
{
    const auto found = resolve(path);
    std::error_code ec;
    return found && fs::is_directory(*found, ec);
}

fs::path FileResolver::pathForWriting(const QString& path) const
{
    if (auto found = resolve(path))
        return *found;
    const fs::path wanted(nativeSeparators(path).toStdString());
    const fs::path parent = wanted.parent_path();
    auto folder = parent.empty() ? std::optional<fs::path>(fs::path(".")) : resolve(QString::fromStdString(parent.string()));
    std::error_code ec;
    if (!folder || !fs::is_directory(*folder, ec))
        throw base::Failure(QStringLiteral("Path not found: %1").arg(path));
    return *folder / wanted.filename();
}

std::optional<QByteArray> FileResolver::tryReadAll(const QString& path, qint64 limit) const
{
    const QString mapped = mapDrive(path);
    if (mapped.isEmpty() || path.endsWith(u'\\') || path.endsWith(u'/'))
        return std::nullopt;
    // The name as given opens at once; only a miss looks for it without
    // regard to case.
    QByteArray bytes;
    Read read = readRegularFile(fs::path(nativeSeparators(mapped).toStdString()), limit, bytes);
    if (read == Read::Missing) {
        const auto found = resolve(path);
        if (!found)
            return std::nullopt;
        read = readRegularFile(*found, limit, bytes);
    }
    if (read == Read::Missing)
        return std::nullopt;
    if (read == Read::Failed)
        throw base::Failure(QStringLiteral("Cannot read %1").arg(path));
    if (read == Read::TooLarge)
        throw base::Failure(QStringLiteral("File too large: %1").arg(path));
    return bytes;
}

QByteArray FileResolver::readAll(const QString& path, qint64 limit) const
{
    std::optional<QByteArray> bytes = tryReadAll(path, limit);
    if (!bytes)
        throw base::Failure(QStringLiteral("File not found: %1").arg(path));
    return std::move(*bytes);
}

QStringList FileResolver::listFiles(const QString& folder, const QString& suffix) const
{
    QStringList names;
    const auto dir = resolve(folder);
    std::error_code ec;
    if (!dir || !fs::is_directory(*dir, ec))
        return names;
    const ListingPtr entries = listing(*dir);
    if (!entries)
        return names;
    for (const fs::path& name : entries->names) {
        const QString text = QString::fromStdString(name.string());
        if (text.endsWith(suffix, Qt::CaseInsensitive) && fs::is_regular_file(*dir / name, ec))
            names << text;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

} // namespace platform
