#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace platform {

// Finds the files that game data names. Games were made on a case-blind file
// system with '\' separators, so a name is matched component by component
// without regard to letter case, and both separators are accepted. Directory
// listings are cached and read again when the folder's modification time
// changes, so a game that looks up hundreds of media names stays cheap.
// Safe from any thread: the MP3 worker reads its piece while the window's
// thread looks up and forgets listings.
class FileResolver {
public:
    // The existing file or folder that the path names, if any. An exact
    // match wins over one that differs in letter case.
    std::optional<std::filesystem::path> resolve(const QString& path) const;

    bool fileExists(const QString& path) const;
    bool dirExists(const QString& path) const;

    // The path to create or replace: the existing entry when one matches,
    // otherwise the resolved folder with the name as given. Throws Failure
    // when the folder does not exist.
    std::filesystem::path pathForWriting(const QString& path) const;

    // The most a file may hold to be read whole: any file under 2 GB, and
    // a data file of records (a few hundred bytes as games write them) a
    // few megabytes, so that a file claiming more fails before it is read.
    static constexpr qint64 kWholeFileLimit = (qint64(1) << 31) - 1;
    static constexpr qint64 kRecordFileLimit = qint64(8) << 20;

    // Throws Failure when the file is missing, cannot be read, is no regular
    // file or holds more than limit bytes.
    QByteArray readAll(const QString& path, qint64 limit = kWholeFileLimit) const;
    // The same, with nullopt for a missing file (a file that is there but
    // cannot be read is still a Failure).
    std::optional<QByteArray> tryReadAll(const QString& path, qint64 limit = kWholeFileLimit) const;

    // Names (not paths) of the files in a folder whose name ends with the
    // suffix, compared without case, sorted as the system's file list sorts
    // them (case-blind). Empty when the folder is missing.
    QStringList listFiles(const QString& folder, const QString& suffix) const;

    // The path with '\' turned into the native separator, nothing resolved.
    static QString nativeSeparators(const QString& path);

    // Forgets the cached listings: after the player itself wrote or removed
    // a file, on a file system whose folder times are too coarse to tell.
    void forgetListings();

    // Drive letters ("E:\...") and the folders they stand for.
    void setDriveRoots(std::map<QChar, QString> roots);

private:
    struct Listing {
        std::filesystem::file_time_type stamp;
        std::vector<std::filesystem::path> names;
    };
    using ListingPtr = std::shared_ptr<const Listing>;
    ListingPtr listing(const std::filesystem::path& dir) const;
    std::optional<std::filesystem::path> matchInDir(const std::filesystem::path& dir, const std::filesystem::path& name) const;

    QString mapDrive(const QString& path) const;

    // A listing is shared, never changed: a reader keeps its copy while
    // another thread replaces or forgets it.
    mutable std::mutex m_cacheMutex; // guards m_cache and m_driveRoots
    mutable std::map<std::filesystem::path, ListingPtr> m_cache;
    std::map<QChar, QString> m_driveRoots;
};

} // namespace platform
