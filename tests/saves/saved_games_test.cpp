#include "automation/script_runner.h"
#include "platform/safe_file.h"
#include "run/save_folders.h"
#include "saves/frm_load_game.h"
#include "saves/frm_save_game.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>

#include <csignal>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

class SavedGames : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"door", "lamp"});
        folder.frame(QStringLiteral("Start"));
        folder.frame(QStringLiteral("Hall"));
        folder.frame(QStringLiteral("Attic"));
        for (const char* name : {"Key", "Rope"}) {
            folder.picture(QStringLiteral("Areas/%1.bmp").arg(QLatin1String(name)), 32, 32);
            folder.write(QStringLiteral("Areas/%1.obj").arg(QLatin1String(name)), {{QStringLiteral("%1.bmp").arg(QLatin1String(name))}});
        }
    }
    engine::Game& start(QDateTime when = QDateTime(QDate(2026, 1, 1), QTime(10, 0)))
    {
        run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path());
        options.startTime = when;
        adjust(options);
        rt = std::make_unique<app::Runtime>(options);
        rt->frmWelcome().ClickButton(0);
        rt->log.clear();
        return rt->game();
    }
    // What a group of cases changes in the player's options.
    virtual void adjust(run::RuntimeOptions&) {}
    bool run(const QStringList& lines)
    {
        automation::ScriptRunner runner(*rt, QString());
        return runner.run(lines);
    }
    QByteArray file(const QString& name)
    {
        QFile f(folder.file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::vector<QString> texts() { return testsupport::TakeMessageTexts(*rt); }
    QStringList listed(QListWidget* list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->item(i)->text();
        return out;
    }
    bool save(const QString& name) { return run({QStringLiteral("key S"), QStringLiteral("type frmSaveGame.Text1 ") + name, QStringLiteral("click frmSaveGame.Command2")}); }

    GameFolder folder;
    std::unique_ptr<app::Runtime> rt;
};

TEST_F(SavedGames, AGameWithOnlyItsFirstFrameIsWrittenLineByLine)
{
    folder.variables({});
    start(QDateTime(QDate(2001, 3, 7), QTime(9, 30)));
    ASSERT_TRUE(save(QStringLiteral("plain")));
    EXPECT_EQ(file(QStringLiteral("plain.sav")),
              QByteArray("\"Start\"\r\n0\r\n0\r\n0\r\n1\r\n\"Start\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"TESTKEY\"\r\n\"Test Game\"\r\n\"03/07/2001\"\r\n\"Version 2.7.0\"\r\n"));
    EXPECT_FALSE(rt->saveGameIfLoaded());
}

TEST_F(SavedGames, ASaveRestoresFrameVariablesRemovedAreasInventoryAndHistory)
{
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Hall"));
    game.OpenFrame(QStringLiteral("Attic"));
    game.ChangeVariableValue(QStringLiteral("lamp"), 1);
    game.Disappear.Add(QStringLiteral("Hall"), 3);
    game.AddPickedObject(QStringLiteral("Key"));
    game.AddPickedObject(QStringLiteral("Rope"));
    game.AddPickedObject(QStringLiteral("Key"));
    ASSERT_TRUE(save(QStringLiteral("evening")));

    engine::Game& fresh = start();
    ASSERT_TRUE(run({QStringLiteral("key Q"), QStringLiteral("answer yes"), QStringLiteral("wait 100"), QStringLiteral("click lblButton(1)"),
                     QStringLiteral("select frmLoadGame.List1 evening"), QStringLiteral("click frmLoadGame.Command2")}));
    EXPECT_EQ(rt->frame.CurrentFrameName, QStringLiteral("Attic"));
    EXPECT_EQ(fresh.GetVariableValue(QStringLiteral("lamp")), 1);
    EXPECT_EQ(fresh.GetVariableValue(QStringLiteral("door")), 0);
    ASSERT_EQ(fresh.Disappear.Count(), 1);
    EXPECT_EQ(fresh.Disappear.Item(1).Name, QStringLiteral("Hall"));
    EXPECT_EQ(fresh.Disappear.Item(1).Value, 3);
    EXPECT_EQ(fresh.inventory().tags(), (QStringList{"Key", "Rope", "Key"}));
    EXPECT_EQ(fresh.FramesHistory(), (QStringList{"Start", "Hall", "Attic"}));
    EXPECT_TRUE(fresh.visible());
    EXPECT_FALSE(rt->frmWelcome().window().isVisible());
    EXPECT_FALSE(rt->loadGameIfLoaded());
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("Do you really want to quit?")});
}

TEST_F(SavedGames, ForbiddenCharactersAndAnEmptyNameAreRefused)
{
    start();
    ASSERT_TRUE(save(QStringLiteral("my,save")));
    ASSERT_TRUE(run({QStringLiteral("type frmSaveGame.Text1 a/b"), QStringLiteral("click frmSaveGame.Command2"),
                     QStringLiteral("type frmSaveGame.Text1 "), QStringLiteral("click frmSaveGame.Command2")}));
    const auto shown = texts();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], QStringLiteral("Please do not use any of the following characters:\r\n\" \\ / : * ? < > | ,"));
    EXPECT_EQ(shown[1], shown[0]);
    EXPECT_EQ(shown[2], QStringLiteral("Enter the name of the file you want to save"));
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.sav")}).isEmpty());
    EXPECT_TRUE(rt->saveGameIfLoaded());
    // Blanks and dots are fine.
    ASSERT_TRUE(run({QStringLiteral("type frmSaveGame.Text1 day 2. at dusk"), QStringLiteral("click frmSaveGame.Command2")}));
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("day 2. at dusk.sav"))));
}

TEST_F(SavedGames, ReplacingAskSaysWhichAndOkReplacesTheWholeFile)
{
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Key"));
    game.AddPickedObject(QStringLiteral("Rope"));
    ASSERT_TRUE(save(QStringLiteral("slot")));
    const QByteArray first = file(QStringLiteral("slot.sav"));
    game.RemovePickedObject(1);
    rt->log.clear();
    ASSERT_TRUE(run({QStringLiteral("answer cancel")}));
    ASSERT_TRUE(save(QStringLiteral("slot")));
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("'slot' already exists. Do you want to replace it?")});
    EXPECT_EQ(file(QStringLiteral("slot.sav")), first);
    ASSERT_TRUE(run({QStringLiteral("click frmSaveGame.Command2")}));
    EXPECT_NE(file(QStringLiteral("slot.sav")), first);
    EXPECT_TRUE(file(QStringLiteral("slot.sav")).contains("1\r\n\"Rope\"\r\n"));
    EXPECT_FALSE(file(QStringLiteral("slot.sav")).contains("Key"));
}

TEST_F(SavedGames, AFailedWriteLeavesTheOldSaveIntactAndSaysSo)
{
    start();
    ASSERT_TRUE(save(QStringLiteral("safe")));
    const QByteArray before = file(QStringLiteral("safe.sav"));
    // A file system that takes no more than 16 bytes a file.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    rt->log.clear();
    const bool ran = run({QStringLiteral("key S"), QStringLiteral("type frmSaveGame.Text1 safe"), QStringLiteral("answer ok"),
                          QStringLiteral("click frmSaveGame.Command2")});
    setrlimit(RLIMIT_FSIZE, &old);
    ASSERT_TRUE(ran);
    const auto shown = texts();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], Player::errorReport(QStringLiteral(" Unable to save '") + rt->project.ProjectPath
                                            + QStringLiteral("safe.sav'.\r\nVerify that this file is not Read-Only and that it does not contain any of the following characters: \" \\ / : * ? < > | ,")));
    EXPECT_EQ(file(QStringLiteral("safe.sav")), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).filter(QStringLiteral("safe")).size(), 1);
    EXPECT_TRUE(rt->saveGameIfLoaded());
}

TEST_F(SavedGames, TheListIsOldestFirstWithoutABareExtension)
{
    folder.writeBytes(QStringLiteral(".sav"), "x");
    folder.writeBytes(QStringLiteral("b.sav"), "x");
    folder.writeBytes(QStringLiteral("a.sav"), "x");
    folder.writeBytes(QStringLiteral("c.sav"), "x");
    const QDateTime base(QDate(2025, 5, 1), QTime(12, 0));
    for (const auto& [name, minutes] : std::vector<std::pair<const char*, int>>{{"a.sav", 10}, {"b.sav", 0}, {"c.sav", 0}}) {
        QFile f(folder.file(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(base.addSecs(minutes * 60), QFileDevice::FileModificationTime);
    }
    start();
    saves::FrmSaveGame& dialog = rt->frmSaveGame();
    dialog.LoadSaveGames();
    EXPECT_EQ(listed(static_cast<QListWidget*>(dialog.window().control(QStringLiteral("List1")))), (QStringList{"b", "c", "a"}));
}

TEST_F(SavedGames, RemovingASaveAsksFirst)
{
    start();
    ASSERT_TRUE(save(QStringLiteral("old")));
    ASSERT_TRUE(run({QStringLiteral("key S"), QStringLiteral("click frmSaveGame.Command3")}));
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("Please select something.")});
    ASSERT_TRUE(run({QStringLiteral("select frmSaveGame.List1 old"), QStringLiteral("answer ok"), QStringLiteral("click frmSaveGame.Command3")}));
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("Do you really want to remove '") + rt->project.ProjectPath + QStringLiteral("old.sav'?")});
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("old.sav"))));
}

TEST_F(SavedGames, LoadWithNothingSelectedOnlyAsks)
{
    start();
    ASSERT_TRUE(save(QStringLiteral("x")));
    ASSERT_TRUE(run({QStringLiteral("key Q"), QStringLiteral("answer yes"), QStringLiteral("wait 100"), QStringLiteral("click lblButton(1)"),
                     QStringLiteral("click frmLoadGame.Command2")}));
    const auto shown = texts();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), QStringLiteral("Please select something."));
    EXPECT_TRUE(rt->loadGameIfLoaded());
}

TEST_F(SavedGames, AStoredMinusOneTogglesAndAMissingFrameStillRestoresTheRest)
{
    folder.writeBytes(QStringLiteral("odd.sav"), "\"Gone\"\r\n2\r\n\"door\"\r\n-1\r\n\"lamp\"\r\n1\r\n0\r\n1\r\n\"Key\"\r\n");
    start();
    rt->game().Form_Unload();
    rt->log.clear();
    ASSERT_TRUE(run({QStringLiteral("click lblButton(1)"), QStringLiteral("select frmLoadGame.List1 odd"), QStringLiteral("click frmLoadGame.List1 double")}));
    engine::Game& game = rt->game();
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("door")), 1);
    EXPECT_EQ(game.GetVariableValue(QStringLiteral("lamp")), 1);
    EXPECT_EQ(game.inventory().tags(), QStringList{"Key"});
    // The file ends after the inventory: the history is the reset's, plus the frame.
    EXPECT_EQ(game.FramesHistory(), QStringList{"Gone"});
    const auto shown = texts();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_TRUE(shown[2].endsWith(QStringLiteral(" Unable to load the frame called 'Gone'. Verify that the 'Initial Frame' exists and that the 'Go to another frame' option in the Area Properties is linked to an existing frame.")));
}

TEST_F(SavedGames, ABrokenSaveIsReportedAndTheLoadWindowStays)
{
    folder.writeBytes(QStringLiteral("broken.sav"), "\"Start\"\r\n5\r\n\"door\"\r\n");
    start();
    rt->game().Form_Unload();
    rt->log.clear();
    ASSERT_TRUE(run({QStringLiteral("click lblButton(1)"), QStringLiteral("select frmLoadGame.List1 broken"), QStringLiteral("click frmLoadGame.Command2")}));
    EXPECT_EQ(texts(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to load '") + rt->project.ProjectPath + QStringLiteral("broken.sav'."))});
    EXPECT_TRUE(rt->loadGameIfLoaded());
    EXPECT_TRUE(rt->frmLoadGame().window().isVisible());
}

TEST_F(SavedGames, ALeftoverOfACrashAndTheLongestNameStillSave)
{
    start();
    folder.writeBytes(QStringLiteral("~loomplay-%1.new").arg(QCoreApplication::applicationPid()), "half a save");
    const QString longest(251, u'n');
    ASSERT_TRUE(save(longest));
    EXPECT_TRUE(texts().empty());
    EXPECT_TRUE(file(longest + QStringLiteral(".sav")).startsWith("\"Start\"\r\n"));
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("~loomplay-%1.new").arg(QCoreApplication::applicationPid()))));
    // One byte more cannot be a file name here: the save fails and says so,
    // rather than blaming characters the name does not hold.
    ASSERT_TRUE(save(longest + u'n'));
    EXPECT_EQ(texts(), std::vector<QString>{Player::errorReport(
                           QStringLiteral(" Unable to save '") + rt->project.ProjectPath + longest + QStringLiteral("n.sav'.\r\nVerify that this file is not Read-Only and that it does not contain any of the following characters: \" \\ / : * ? < > | ,"))});
    EXPECT_TRUE(rt->saveGameIfLoaded());
}

TEST_F(SavedGames, LeftoversOfSavesKilledInEarlierRunsGoAtTheNextSaveOrLoad)
{
    const QString deadRun = QStringLiteral("~loomplay-999999999.new");
    folder.writeBytes(deadRun, "half a save");
    // A write still going on in another player holds a lock on its file.
    folder.writeBytes(QStringLiteral("~loomplay-999999998.new"), "being written");
    QFile busy(folder.file(QStringLiteral("~loomplay-999999998.new")));
    ASSERT_TRUE(busy.open(QIODevice::ReadOnly));
    ASSERT_EQ(flock(busy.handle(), LOCK_EX | LOCK_NB), 0);
    start();
    ASSERT_TRUE(save(QStringLiteral("slot")));
    EXPECT_FALSE(QFileInfo::exists(folder.file(deadRun)));
    EXPECT_TRUE(QFileInfo::exists(busy.fileName()));
    busy.close();
    folder.writeBytes(deadRun, "half a save");
    rt->game().Form_Unload();
    ASSERT_TRUE(run({QStringLiteral("click lblButton(1)"), QStringLiteral("select frmLoadGame.List1 slot"), QStringLiteral("click frmLoadGame.Command2")}));
    EXPECT_FALSE(QFileInfo::exists(folder.file(deadRun)));
    EXPECT_FALSE(QFileInfo::exists(busy.fileName()));
}

TEST_F(SavedGames, SavesOfTheSameSecondAreListedByName)
{
    const QDateTime second(QDate(2025, 5, 1), QTime(12, 0, 7));
    for (const auto& [name, ms] : std::vector<std::pair<const char*, int>>{{"alpha.sav", 900}, {"zeta.sav", 100}, {"mid.sav", 1500}}) {
        folder.writeBytes(QString::fromLatin1(name), "x");
        QFile f(folder.file(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(second.addMSecs(ms), QFileDevice::FileModificationTime);
    }
    start();
    saves::FrmSaveGame& dialog = rt->frmSaveGame();
    dialog.LoadSaveGames();
    EXPECT_EQ(listed(static_cast<QListWidget*>(dialog.window().control(QStringLiteral("List1")))), (QStringList{"alpha", "zeta", "mid"}));
}

TEST_F(SavedGames, AFailedLoadAfterADisplaySwitchLeadsBackToTheWelcomeWindowAndTheDisplay)
{
    folder.writeBytes(QStringLiteral("broken.sav"), "\"Start\"\r\n5\r\n\"door\"\r\n");
    rt = std::make_unique<app::Runtime>(testsupport::ScriptedOptions(folder.path(), QSize(1024, 768)));
    app::FrmWelcome& welcome = rt->frmWelcome();
    welcome.show();
    ASSERT_EQ(welcome.element(QStringLiteral("chkResolution"))->value(), 1);
    ASSERT_TRUE(run({QStringLiteral("click lblButton(1)"), QStringLiteral("select frmLoadGame.List1 broken"), QStringLiteral("click frmLoadGame.Command2")}));
    EXPECT_EQ(texts(), std::vector<QString>{Player::errorReport(QStringLiteral(" Unable to load '") + rt->project.ProjectPath + QStringLiteral("broken.sav'."))});
    EXPECT_EQ(rt->display.mode(), QSize(1024, 768));
    EXPECT_TRUE(rt->frmLoadGame().window().isVisible());
    ASSERT_TRUE(run({QStringLiteral("click frmLoadGame.Command1")}));
    EXPECT_TRUE(welcome.window().isVisible());
    EXPECT_FALSE(rt->game().visible());
}

// A game whose folder takes no new files, as the demo installed system-wide:
// the player's own folder keeps its saves.
class ReadOnlySaves : public SavedGames {
protected:
    void adjust(run::RuntimeOptions& options) override
    {
        if (withOwnFolder)
            options.playerDataFolder = data.path();
        options.folderWritable = [this](const QString&) { return gameWritable; };
    }
    bool load(const QString& name)
    {
        return run({QStringLiteral("key Q"), QStringLiteral("answer yes"), QStringLiteral("wait 100"), QStringLiteral("click lblButton(1)"),
                    QStringLiteral("select frmLoadGame.List1 ") + name, QStringLiteral("click frmLoadGame.Command2")});
    }
    QString own(const QString& name = QString()) const { return data.filePath(QStringLiteral("saves/TESTKEY/") + name); }
    void writeOwn(const QString& name, const QByteArray& bytes)
    {
        QDir().mkpath(own());
        QFile f(own(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList listed()
    {
        saves::FrmSaveGame& dialog = rt->frmSaveGame();
        dialog.LoadSaveGames();
        return SavedGames::listed(static_cast<QListWidget*>(dialog.window().control(QStringLiteral("List1"))));
    }
    static void touch(const QString& path, int minutes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(QDateTime(QDate(2025, 5, 1), QTime(12, 0)).addSecs(minutes * 60), QFileDevice::FileModificationTime);
    }

    QTemporaryDir data;
    bool gameWritable = false;
    bool withOwnFolder = true;
};

TEST_F(ReadOnlySaves, ASaveGoesToThePlayersFolderNamedAfterTheGamesKeyAndLoadsFromThere)
{
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Hall"));
    game.ChangeVariableValue(QStringLiteral("lamp"), 1);
    ASSERT_TRUE(save(QStringLiteral("evening")));
    EXPECT_TRUE(texts().empty());
    EXPECT_TRUE(read(own(QStringLiteral("evening.sav"))).startsWith("\"Hall\"\r\n2\r\n\"door\"\r\n0\r\n\"lamp\"\r\n1\r\n"));
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*.sav")}).isEmpty());

    ASSERT_TRUE(load(QStringLiteral("evening")));
    EXPECT_EQ(rt->frame.CurrentFrameName, QStringLiteral("Hall"));
    EXPECT_EQ(rt->game().GetVariableValue(QStringLiteral("lamp")), 1);
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("Do you really want to quit?")});
}

TEST_F(ReadOnlySaves, TheListHoldsTheSavesOfBothPlacesEachNameOnceByDate)
{
    folder.writeBytes(QStringLiteral("shipped.sav"), "\"Start\"\r\n0\r\n0\r\n0\r\n");
    folder.writeBytes(QStringLiteral("slot.sav"), "\"Start\"\r\n0\r\n0\r\n0\r\n");
    writeOwn(QStringLiteral("mine.sav"), "\"Hall\"\r\n0\r\n0\r\n0\r\n");
    writeOwn(QStringLiteral("Slot.sav"), "\"Hall\"\r\n0\r\n0\r\n0\r\n");
    touch(folder.file(QStringLiteral("shipped.sav")), 10);
    touch(folder.file(QStringLiteral("slot.sav")), 0);
    touch(own(QStringLiteral("mine.sav")), 5);
    touch(own(QStringLiteral("Slot.sav")), 20);
    start();
    EXPECT_EQ(listed(), (QStringList{"mine", "shipped", "Slot"}));
}

TEST_F(ReadOnlySaves, ThePlayersCopyOfANameWinsWhenLoading)
{
    folder.writeBytes(QStringLiteral("slot.sav"), "\"Start\"\r\n0\r\n0\r\n0\r\n");
    writeOwn(QStringLiteral("slot.sav"), "\"Hall\"\r\n1\r\n\"lamp\"\r\n1\r\n0\r\n0\r\n");
    start();
    ASSERT_TRUE(load(QStringLiteral("slot")));
    EXPECT_EQ(rt->frame.CurrentFrameName, QStringLiteral("Hall"));
    EXPECT_EQ(rt->game().GetVariableValue(QStringLiteral("lamp")), 1);
}

TEST_F(ReadOnlySaves, ASaveOfTheGameFolderIsReplacedByThePlayersCopyAfterAsking)
{
    const QByteArray shipped = "\"Start\"\r\n0\r\n0\r\n0\r\n";
    folder.writeBytes(QStringLiteral("slot.sav"), shipped);
    engine::Game& game = start();
    game.OpenFrame(QStringLiteral("Hall"));
    ASSERT_TRUE(run({QStringLiteral("answer ok")}));
    ASSERT_TRUE(save(QStringLiteral("slot")));
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("'slot' already exists. Do you want to replace it?")});
    EXPECT_EQ(read(folder.file(QStringLiteral("slot.sav"))), shipped);
    EXPECT_TRUE(read(own(QStringLiteral("slot.sav"))).startsWith("\"Hall\"\r\n"));
    EXPECT_EQ(listed(), QStringList{"slot"});
}

TEST_F(ReadOnlySaves, RemovingThePlayersCopyNamesItAndShowsTheGameFoldersAgain)
{
    folder.writeBytes(QStringLiteral("slot.sav"), "\"Start\"\r\n0\r\n0\r\n0\r\n");
    writeOwn(QStringLiteral("slot.sav"), "\"Hall\"\r\n0\r\n0\r\n0\r\n");
    start();
    ASSERT_TRUE(run({QStringLiteral("key S"), QStringLiteral("select frmSaveGame.List1 slot"), QStringLiteral("answer ok"),
                     QStringLiteral("click frmSaveGame.Command3")}));
    EXPECT_EQ(texts(), std::vector<QString>{QStringLiteral("Do you really want to remove '") + own(QStringLiteral("slot.sav")) + QStringLiteral("'?")});
    EXPECT_FALSE(QFile::exists(own(QStringLiteral("slot.sav"))));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("slot.sav"))));
    EXPECT_EQ(listed(), QStringList{"slot"});
}

TEST_F(ReadOnlySaves, AWritableGameFolderKeepsItsSavesAndIgnoresThePlayersFolder)
{
    gameWritable = true;
    writeOwn(QStringLiteral("mine.sav"), "\"Hall\"\r\n0\r\n0\r\n0\r\n");
    start();
    ASSERT_TRUE(save(QStringLiteral("here")));
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("here.sav"))));
    EXPECT_FALSE(QFile::exists(own(QStringLiteral("here.sav"))));
    EXPECT_EQ(listed(), QStringList{"here"});
}

TEST_F(ReadOnlySaves, WithoutAFolderOfThePlayersOwnASaveIsTriedInTheGameFolder)
{
    withOwnFolder = false;
    start();
    ASSERT_TRUE(save(QStringLiteral("evening")));
    // The game folder is not really read-only here: only the check says so.
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("evening.sav"))));
    EXPECT_FALSE(QDir(own()).exists());
}

TEST(SaveFolderNames, KeysThatCannotNameAFolderAreMadeFit)
{
    EXPECT_EQ(run::SaveFolders::folderNameOf(QStringLiteral("LOOMPLAY-DEMO-LIGHTHOUSE")), QStringLiteral("LOOMPLAY-DEMO-LIGHTHOUSE"));
    EXPECT_EQ(run::SaveFolders::folderNameOf(QStringLiteral("a/b\\c\td")), QStringLiteral("a_b_c_d"));
    EXPECT_EQ(run::SaveFolders::folderNameOf(QString()), QStringLiteral("_"));
    EXPECT_EQ(run::SaveFolders::folderNameOf(QStringLiteral("..")), QStringLiteral("_"));
}

TEST(FolderTakesNewFiles, AWritableFolderIsTriedAndLeftAsItWas)
{
    QTemporaryDir dir;
    EXPECT_TRUE(platform::FolderTakesNewFiles(dir.path().toStdString()));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    EXPECT_FALSE(platform::FolderTakesNewFiles((dir.path() + QStringLiteral("/missing")).toStdString()));
}

TEST(FolderTakesNewFiles, AFolderWithoutWritePermissionTakesNone)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into folders without write permission; read_only_demo plays as another user";
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(platform::FolderTakesNewFiles(dir.path().toStdString()));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
