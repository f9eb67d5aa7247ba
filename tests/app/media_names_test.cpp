#include "run/media_names.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QFile>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class MediaNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        player = std::make_unique<Player>(folder);
        player->welcome();
        player->takeMessages();
        frames = player->rt().project.FramesPath;
    }
    QString map(const QString& name) { return run::MapMediaFileName(player->rt(), name); }

    GameFolder folder;
    std::unique_ptr<Player> player;
    QString frames;
};

TEST_F(MediaNames, AMissingUsualNameBecomesItsNumberedNameAndIsReported)
{
    EXPECT_EQ(map(QStringLiteral("a.bmp")), QStringLiteral("a.004"));
    const auto texts = player->takeMessages();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], QStringLiteral("The following file is missing: a.004\r\n\r\nThis file may have been moved or removed from its original location. The program may not work properly until the missing file is placed back in its original location. Press 'Esc' and the click 'Exit' to quit."));
    EXPECT_EQ(player->boxes().size(), 0u);
}

TEST_F(MediaNames, ThePackagedNameIsUsedWhenOnlyItExists)
{
    folder.picture(QStringLiteral("Frames/x.006"), 2, 2);
    EXPECT_EQ(map(frames + QStringLiteral("x.gif")), frames + QStringLiteral("x.006"));
    EXPECT_TRUE(player->takeMessages().empty());
}

TEST_F(MediaNames, TheUsualNameWinsWhenBothExist)
{
    folder.picture(QStringLiteral("Frames/hall.bmp"), 2, 2);
    folder.picture(QStringLiteral("Frames/hall.004"), 2, 2);
    EXPECT_EQ(map(frames + QStringLiteral("hall.bmp")), frames + QStringLiteral("hall.bmp"));
    EXPECT_TRUE(player->takeMessages().empty());
}

TEST_F(MediaNames, UpperCaseExtensionsAreMappedAndShortNamesAreNot)
{
    EXPECT_EQ(map(QStringLiteral("HALL.BMP")), QStringLiteral("HALL.004"));
    EXPECT_EQ(player->takeMessages().size(), 1u);
    EXPECT_EQ(map(QStringLiteral(".bmp")), QStringLiteral(".bmp"));
    EXPECT_EQ(map(QString()), QString());
    EXPECT_TRUE(player->takeMessages().empty());
}

TEST_F(MediaNames, NamesOutsideTheTableAreReportedUnderTheirOwnName)
{
    EXPECT_EQ(map(frames + QStringLiteral("notes.txt")), frames + QStringLiteral("notes.txt"));
    const auto texts = player->takeMessages();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("The following file is missing: ") + frames + QStringLiteral("notes.txt\r\n")));
}

TEST_F(MediaNames, NamesAreFoundWithoutRegardToLetterCaseOrSeparators)
{
    folder.picture(QStringLiteral("Frames/Sub/Hall.BMP"), 2, 2);
    const QString asWritten = frames + QStringLiteral("sub\\hall.bmp");
    EXPECT_EQ(map(asWritten), asWritten);
    EXPECT_TRUE(player->takeMessages().empty());
    EXPECT_TRUE(player->rt().files.fileExists(asWritten));
    EXPECT_FALSE(player->rt().files.fileExists(frames + QStringLiteral("sub\\")));
    EXPECT_TRUE(player->rt().files.dirExists(frames + QStringLiteral("SUB\\")));
}

TEST_F(MediaNames, AFileAddedLaterIsFoundDespiteTheCachedListing)
{
    EXPECT_FALSE(player->rt().files.fileExists(frames + QStringLiteral("LATE.BMP")));
    folder.picture(QStringLiteral("Frames/late.bmp"), 2, 2);
    EXPECT_TRUE(player->rt().files.fileExists(frames + QStringLiteral("LATE.BMP")));
}

TEST_F(MediaNames, TheCdDriveIsTheFirstLetterOfRunFromCdAndWritesBack)
{
    EXPECT_EQ(run::ReadCDDrive(player->rt()), QString());
    folder.write(QStringLiteral("RunFromCD.dat"), {{"e: [GAMEDISK]"}});
    EXPECT_EQ(run::ReadCDDrive(player->rt()), QStringLiteral("e: [GAMEDISK]"));
    // With no such drive the CD dialog is needed.
    EXPECT_FALSE(run::ChooseCDFolders(player->rt()));
    run::WriteCDDrive(player->rt(), QStringLiteral("F:"));
    EXPECT_EQ(run::ReadCDDrive(player->rt()), QStringLiteral("F:"));
    QFile file(folder.file(QStringLiteral("RunFromCD.dat")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\"F:\"\r\n"));
    folder.writeBytes(QStringLiteral("RunFromCD.dat"), QByteArray());
    EXPECT_EQ(run::ReadCDDrive(player->rt()), QString());
}

TEST_F(MediaNames, AMissingFolderIsReportedWithTheGameNameAsTitle)
{
    EXPECT_TRUE(run::CheckFolderPresent(player->rt(), frames));
    EXPECT_FALSE(run::CheckFolderPresent(player->rt(), QStringLiteral("/no/such/Data/Frames/")));
    const auto boxes = player->boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].value(QStringLiteral("title")).toString(), QStringLiteral("Test Game"));
    EXPECT_EQ(boxes[0].value(QStringLiteral("text")).toString(),
              QStringLiteral("The following folder is missing: /no/such/Data/Frames/\r\n\r\nMake sure that the disk is properly inserted, and then try again."));
}
