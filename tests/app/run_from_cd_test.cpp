#include "app/frm_run_from_cd.h"
#include "automation/script_runner.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;

class RunFromCD : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general({.name = QStringLiteral("Quest")});
        folder.write(QStringLiteral("RunFromCD.dat"), {{""}});
        folder.variables({});
    }
    // A CD image mounted at a folder of the test, holding the game's folders.
    QString cd(QTemporaryDir& dir, bool withAreas = true)
    {
        for (const char* sub : {"Data/Quest/Frames", "Data/Quest/Icons"})
            QDir(dir.path()).mkpath(QString::fromLatin1(sub));
        if (withAreas)
            QDir(dir.path()).mkpath(QStringLiteral("Data/Quest/Areas"));
        QFile frame(dir.filePath(QStringLiteral("Data/Quest/Frames/Start.fme")));
        frame.open(QIODevice::WriteOnly);
        frame.write("0,\"0\",#FALSE#,#FALSE#,\"\",#FALSE#,0,\"\",\"\",#FALSE#\r\n");
        return dir.path();
    }
    app::Runtime& start(const QString& mounts)
    {
        run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path());
        options.mountTable = mounts;
        rt = std::make_unique<app::Runtime>(options);
        rt->frmWelcome();
        return *rt;
    }
    QComboBox* combo() { return static_cast<QComboBox*>(rt->frmRunFromCD().window().control(QStringLiteral("Combo1"))); }
    bool run(const QStringList& lines)
    {
        automation::ScriptRunner runner(*rt, QString());
        return runner.run(lines);
    }
    std::vector<QString> texts() { return testsupport::TakeMessageTexts(*rt); }

    GameFolder folder;
    std::unique_ptr<app::Runtime> rt;
};

TEST_F(RunFromCD, WithoutACdDriveOrRememberedDriveOkSaysTheDeviceIsUnavailable)
{
    folder.remove(QStringLiteral("RunFromCD.dat"));
    folder.writeBytes(QStringLiteral("RunFromCD.dat"), QByteArray());
    start(QStringLiteral("/dev/sda1 / ext4 rw 0 0\n"));
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)")}));
    EXPECT_EQ(combo()->currentText(), QString());
    EXPECT_EQ(combo()->itemText(0), QStringLiteral("C:\\ (Hard Drive)"));
    ASSERT_TRUE(run({QStringLiteral("click frmRunFromCD.Command3")}));
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("The selected device is unavailable. Make sure that the CD-ROM drive letter is right and that the disk is properly inserted, and then try again.")});
    EXPECT_NE(rt->runFromCdIfLoaded(), nullptr);
}

TEST_F(RunFromCD, TheLaterOfTwoCdDrivesIsPreselectedAndOkStartsFromIt)
{
    QTemporaryDir first, second;
    cd(second);
    start(QStringLiteral("/dev/sda1 / ext4 rw 0 0\n/dev/sr0 %1 iso9660 ro 0 0\n/dev/sr1 %2 udf ro 0 0\n").arg(first.path(), second.path()));
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)")}));
    // The later drive letter is preselected; the game is on whichever
    // letter the second image got (mount points sort by name).
    EXPECT_EQ(combo()->currentText(), QStringLiteral("E:\\"));
    const QChar later = first.path() < second.path() ? u'E' : u'D';
    ASSERT_TRUE(run({QStringLiteral("select frmRunFromCD.Combo1 ") + later + QStringLiteral(":\\ (CD-ROM Drive)"), QStringLiteral("click frmRunFromCD.Command3")}));
    EXPECT_TRUE(texts().empty());
    EXPECT_EQ(rt->project.FramesPath, QString(later) + QStringLiteral(":\\Data\\Quest\\Frames\\"));
    EXPECT_TRUE(rt->game().visible());
    EXPECT_EQ(rt->frame.CurrentFrameName, QStringLiteral("Start"));
    QFile dat(folder.file(QStringLiteral("RunFromCD.dat")));
    ASSERT_TRUE(dat.open(QIODevice::ReadOnly));
    EXPECT_EQ(dat.readAll(), (QString(QStringLiteral("\"")) + later + QStringLiteral(":\\ (CD-ROM Drive)\"\r\n")).toLatin1());
}

TEST_F(RunFromCD, ADriveWithoutTheAreasFolderIsNamedInTheMessage)
{
    QTemporaryDir disc;
    cd(disc, false);
    start(QStringLiteral("/dev/sr0 %1 iso9660 ro 0 0\n").arg(disc.path()));
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)"), QStringLiteral("type frmRunFromCD.Combo1 d"), QStringLiteral("click frmRunFromCD.Command3")}));
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("The following folder is missing: d:\\Data\\Quest\\Areas\\\r\n\r\nMake sure that the disk is properly inserted, and then try again.")});
    EXPECT_EQ(rt->project.FramesPath, folder.path() + QStringLiteral("/Frames/"));
}

TEST_F(RunFromCD, CancelChangesNothingAndStartsNothing)
{
    QTemporaryDir disc;
    cd(disc);
    const QByteArray before = [&] {
        QFile f(folder.file(QStringLiteral("RunFromCD.dat")));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    start(QStringLiteral("/dev/sr0 %1 iso9660 ro 0 0\n").arg(disc.path()));
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)"), QStringLiteral("click frmRunFromCD.Command4")}));
    EXPECT_TRUE(rt->CDCancelled);
    EXPECT_EQ(rt->gameIfLoaded(), nullptr);
    EXPECT_EQ(rt->project.FramesPath, folder.path() + QStringLiteral("/Frames/"));
    QFile f(folder.file(QStringLiteral("RunFromCD.dat")));
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), before);
    EXPECT_TRUE(rt->frmWelcome().topMost());
}

TEST_F(RunFromCD, ARememberedDriveThatHoldsTheGameNeedsNoDialog)
{
    QTemporaryDir disc;
    cd(disc);
    folder.write(QStringLiteral("RunFromCD.dat"), {{"D:\\ (CD-ROM Drive)"}});
    start(QStringLiteral("/dev/sr0 %1 iso9660 ro 0 0\n").arg(disc.path()));
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)")}));
    EXPECT_EQ(rt->runFromCdIfLoaded(), nullptr);
    EXPECT_EQ(rt->frame.CurrentFrameName, QStringLiteral("Start"));
    EXPECT_TRUE(texts().empty());
}

TEST_F(RunFromCD, AReadOnlyGameFolderLeavesTheDriveToThePlayersFolderWhichWinsNextTime)
{
    QTemporaryDir disc, data;
    cd(disc);
    const QString mounts = QStringLiteral("/dev/sr0 %1 iso9660 ro 0 0\n").arg(disc.path());
    auto readOnly = [&] {
        run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path());
        options.mountTable = mounts;
        options.playerDataFolder = data.path();
        options.folderWritable = [](const QString&) { return false; };
        rt = std::make_unique<app::Runtime>(options);
        rt->frmWelcome();
    };
    readOnly();
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)"), QStringLiteral("type frmRunFromCD.Combo1 D:\\"), QStringLiteral("click frmRunFromCD.Command3")}));
    EXPECT_EQ(rt->frame.CurrentFrameName, QStringLiteral("Start"));
    QFile own(data.filePath(QStringLiteral("saves/TESTKEY/RunFromCD.dat")));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_EQ(own.readAll(), QByteArray("\"D:\\\"\r\n"));
    QFile shipped(folder.file(QStringLiteral("RunFromCD.dat")));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    EXPECT_EQ(shipped.readAll(), QByteArray("\"\"\r\n"));

    readOnly();
    ASSERT_TRUE(run({QStringLiteral("click lblButton(0)")}));
    EXPECT_EQ(rt->runFromCdIfLoaded(), nullptr);
    EXPECT_EQ(rt->project.FramesPath, QStringLiteral("D:\\Data\\Quest\\Frames\\"));
}

TEST(Drives, LettersFollowTheMountTable)
{
    const platform::Drives drives = platform::Drives::fromMountTable(QStringLiteral(
        "proc /proc proc rw 0 0\n/dev/sda1 / ext4 rw 0 0\ntmpfs /run tmpfs rw 0 0\n/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
        "server:/x /mnt/share nfs rw 0 0\n/dev/sdb1 /media/stick vfat rw 0 0\nnone /mnt/ram tmpfs rw 0 0\n/dev/sr1 /media/my\\040disc udf ro 0 0\n"));
    ASSERT_EQ(drives.drives().size(), 6u);
    EXPECT_EQ(drives.type(u'C'), platform::Drives::Fixed);
    EXPECT_EQ(drives.root(u'D'), QStringLiteral("/media/cdrom/"));
    EXPECT_EQ(drives.type(u'D'), platform::Drives::CdRom);
    EXPECT_EQ(drives.root(u'E'), QStringLiteral("/media/my disc/"));
    EXPECT_EQ(drives.type(u'F'), platform::Drives::Removable);
    EXPECT_EQ(drives.type(u'G'), platform::Drives::RamDisk);
    EXPECT_EQ(drives.type(u'H'), platform::Drives::Remote);
    EXPECT_EQ(drives.type(u'Z'), platform::Drives::Unknown);
}
