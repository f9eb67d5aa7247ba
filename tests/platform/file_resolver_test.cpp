#include "base/failure.h"
#include "platform/file_resolver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

using base::Failure;
using platform::FileResolver;

namespace {

// Writes a file (and its folders) under the temporary folder; its path.
fs::path write(const QTemporaryDir& dir, const QString& relative, const QByteArray& content = "x")
{
    const QString path = dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return fs::path(path.toStdString());
}

} // namespace

TEST(FileResolver, MatchesEachComponentWithoutRegardToCase)
{
    QTemporaryDir dir;
    const fs::path door = write(dir, QStringLiteral("Media/Sub/Door.BMP"), "door");
    write(dir, QStringLiteral("Média/Été.txt"), "summer");
    FileResolver files;
    EXPECT_EQ(files.resolve(dir.path() + QStringLiteral("/media/SUB/door.bmp")), door);
    EXPECT_EQ(files.readAll(dir.path() + QStringLiteral("/MÉDIA/éTÉ.TXT")), QByteArray("summer"));
    EXPECT_TRUE(files.dirExists(dir.path() + QStringLiteral("/MEDIA/sub")));
}

TEST(FileResolver, AcceptsBothSeparatorsAndDriveLetters)
{
    QTemporaryDir dir;
    const fs::path door = write(dir, QStringLiteral("Media/Sub/Door.BMP"));
    FileResolver files;
    EXPECT_EQ(files.resolve(dir.path() + QStringLiteral("\\MEDIA\\sub/DOOR.bmp")), door);
    files.setDriveRoots({{QChar(u'E'), dir.path() + u'/'}});
    EXPECT_EQ(files.resolve(QStringLiteral("e:\\media\\SUB\\door.bmp")), door);
    EXPECT_FALSE(files.resolve(QStringLiteral("Q:\\media\\sub\\door.bmp")));
}

TEST(FileResolver, ExactNameWinsOverACaseVariant)
{
    QTemporaryDir dir;
    write(dir, QStringLiteral("a.txt"), "lower");
    write(dir, QStringLiteral("A.txt"), "upper");
    FileResolver files;
    EXPECT_EQ(files.readAll(dir.filePath(QStringLiteral("A.txt"))), QByteArray("upper"));
    EXPECT_EQ(files.readAll(dir.filePath(QStringLiteral("a.txt"))), QByteArray("lower"));
    EXPECT_TRUE(files.fileExists(dir.filePath(QStringLiteral("a.TXT"))));
}

TEST(FileResolver, FindsAFileCreatedAfterTheFolderWasListed)
{
    QTemporaryDir dir;
    const fs::path folder(dir.path().toStdString());
    FileResolver files;
    // The player's own writes: the listing is forgotten on purpose.
    EXPECT_FALSE(files.fileExists(dir.filePath(QStringLiteral("SAVE1.SAV"))));
    write(dir, QStringLiteral("save1.sav"));
    files.forgetListings();
    EXPECT_TRUE(files.fileExists(dir.filePath(QStringLiteral("SAVE1.SAV"))));
    // Another program's writes: the folder's time tells.
    const auto stamp = fs::last_write_time(folder);
    EXPECT_FALSE(files.fileExists(dir.filePath(QStringLiteral("SAVE2.SAV"))));
    write(dir, QStringLiteral("save2.sav"));
    fs::last_write_time(folder, stamp + std::chrono::seconds(2));
    EXPECT_TRUE(files.fileExists(dir.filePath(QStringLiteral("SAVE2.SAV"))));
}

TEST(FileResolver, ReportsMissingFilesAndFolders)
{
    QTemporaryDir dir;
    write(dir, QStringLiteral("Media/Gone.txt"));
    FileResolver files;
    EXPECT_FALSE(files.resolve(dir.filePath(QStringLiteral("nothing/x.txt"))));
    EXPECT_THROW(files.readAll(dir.filePath(QStringLiteral("media/none.txt"))), Failure);
    EXPECT_THROW(files.readAll(dir.filePath(QStringLiteral("MEDIA"))), Failure);
    EXPECT_FALSE(files.fileExists(dir.filePath(QStringLiteral("media"))));
    EXPECT_FALSE(files.fileExists(dir.filePath(QStringLiteral("media\\"))));
    EXPECT_TRUE(files.dirExists(dir.filePath(QStringLiteral("media\\"))));
    EXPECT_FALSE(files.dirExists(dir.filePath(QStringLiteral("media/gone.txt"))));
    // Removed after its folder was listed, whatever the folder's time says.
    ASSERT_TRUE(files.fileExists(dir.filePath(QStringLiteral("media/GONE.txt"))));
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("Media/Gone.txt"))));
    EXPECT_FALSE(files.fileExists(dir.filePath(QStringLiteral("media/GONE.txt"))));
    EXPECT_THROW(files.readAll(dir.filePath(QStringLiteral("media/GONE.txt"))), Failure);
}

TEST(FileResolver, DotDotAndAbsolutePathsLeadWhereTheyName)
{
    QTemporaryDir dir, elsewhere;
    const fs::path other = write(dir, QStringLiteral("Media/Other/F.txt"));
    write(dir, QStringLiteral("Media/Sub/G.txt"));
    const fs::path far = write(elsewhere, QStringLiteral("Far/Away.txt"));
    FileResolver files;
    EXPECT_EQ(files.resolve(dir.path() + QStringLiteral("\\media\\SUB\\..\\OTHER\\f.TXT")), other);
    EXPECT_EQ(files.resolve(elsewhere.path() + QStringLiteral("/far/AWAY.txt")), far);
    // A relative name starts from the working folder.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const bool found = files.fileExists(QStringLiteral("media\\other\\f.txt"));
    const bool climbed = files.fileExists(QStringLiteral("MEDIA\\SUB\\..\\..\\Media\\Other\\F.TXT"));
    QDir::setCurrent(previous);
    EXPECT_TRUE(found);
    EXPECT_TRUE(climbed);
}

TEST(FileResolver, WritingPathKeepsAnExistingNameOrTakesTheOneGiven)
{
    QTemporaryDir dir;
    const fs::path existing = write(dir, QStringLiteral("Saves/Game1.SAV"));
    const fs::path saves = existing.parent_path();
    FileResolver files;
    EXPECT_EQ(files.pathForWriting(dir.path() + QStringLiteral("\\SAVES\\game1.sav")), existing);
    EXPECT_EQ(files.pathForWriting(dir.path() + QStringLiteral("\\saves\\New.Sav")), saves / "New.Sav");
    EXPECT_THROW(files.pathForWriting(dir.path() + QStringLiteral("\\missing\\x.sav")), Failure);
}

TEST(FileResolver, ListsFilesBySuffixSortedWithoutCase)
{
    QTemporaryDir dir;
    for (const char* name : {"Saves/b.SAV", "Saves/A.sav", "Saves/c.txt", "Saves/d.sav/inside.txt"})
        write(dir, QString::fromLatin1(name));
    FileResolver files;
    EXPECT_EQ(files.listFiles(dir.filePath(QStringLiteral("SAVES")), QStringLiteral(".sav")),
              (QStringList{QStringLiteral("A.sav"), QStringLiteral("b.SAV")}));
    EXPECT_TRUE(files.listFiles(dir.filePath(QStringLiteral("none")), QStringLiteral(".sav")).isEmpty());
}

// A leading ".." of a relative name that needs a case-blind match climbs
// like any other, rather than looking in the working folder itself.
TEST(FileResolver, DotDotClimbsAboveTheWorkingFolder)
{
    QTemporaryDir dir;
    write(dir, QStringLiteral("Media/Other/F.txt"));
    write(dir, QStringLiteral("Media/Sub/G.txt"));
    FileResolver files;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.filePath(QStringLiteral("Media/Sub"))));
    const bool exact = files.fileExists(QStringLiteral("..\\Other\\F.txt"));
    const bool caseBlind = files.fileExists(QStringLiteral("..\\OTHER\\f.txt"));
    QDir::setCurrent(previous);
    EXPECT_TRUE(exact);
    EXPECT_TRUE(caseBlind);
}

TEST(FileResolver, ANamedPipeFailsAtOnceInsteadOfWaitingForAWriter)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("1b.dat"));
    ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
    auto read = std::async(std::launch::async, [&] {
        try {
            FileResolver().tryReadAll(pipe, FileResolver::kRecordFileLimit);
        } catch (const Failure& e) {
            return QString::fromUtf8(e.what());
        }
        return QString();
    });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Let the blocked open go, so that the test ends and says why.
        const int writer = ::open(pipe.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
        read.wait();
        ::close(writer);
        FAIL() << "the read waited for a writer";
    }
    EXPECT_EQ(read.get(), QStringLiteral("Cannot read ") + pipe);
}

TEST(FileResolver, AFileBeyondItsLimitFailsBeforeItIsRead)
{
    QTemporaryDir dir;
    const qint64 limit = FileResolver::kRecordFileLimit;
    // Sparse: the size is claimed, not written.
    for (const auto& [name, size] : {std::pair{QStringLiteral("at.dat"), limit}, std::pair{QStringLiteral("past.dat"), limit + 1}}) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(size));
    }
    FileResolver files;
    EXPECT_EQ(files.readAll(dir.filePath(QStringLiteral("at.dat")), limit).size(), limit);
    try {
        files.readAll(dir.filePath(QStringLiteral("past.dat")), limit);
        ADD_FAILURE() << "a file past the limit was read";
    } catch (const Failure& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("File too large: ") + dir.filePath(QStringLiteral("past.dat")));
    }
    // Files of media keep the whole-file limit.
    EXPECT_EQ(files.readAll(dir.filePath(QStringLiteral("past.dat"))).size(), limit + 1);
}
