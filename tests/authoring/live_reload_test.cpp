// Live reloading for authors: the frame on screen opens again when one of
// its files changes, the game's state kept, and says so in a notice.
#include "authoring/live_reload.h"
#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "automation/script_runner.h"
#include "engine/game.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class LiveReload : public ::testing::Test {
protected:
    void SetUp() override
    {
        rt = testsupport::AuthorsDemoRun(game.path());
        ASSERT_TRUE(rt);
        reload = std::make_unique<authoring::LiveReload>(*rt);
        rt->frmWelcome().show();
        // On the shore, with the hint shown by the moon.
        ASSERT_TRUE(run({QStringLiteral("click Img(0)"), QStringLiteral("click Area(5)"), QStringLiteral("expect variable Hint 1")}));
    }
    bool run(const QStringList& lines)
    {
        automation::ScriptRunner runner(*rt, QString());
        return runner.run(lines);
    }
    void write(const QString& relative, const QByteArray& bytes)
    {
        QFile file(game.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    // Saves as editors that keep a backup do: a new file renamed over the old.
    void writeByRename(const QString& relative, const QByteArray& bytes)
    {
        write(relative + QStringLiteral(".new"), bytes);
        ASSERT_TRUE(::rename(qPrintable(game.filePath(relative + QStringLiteral(".new"))), qPrintable(game.filePath(relative))) == 0);
    }
    // The notices of frames opened again so far.
    QStringList reloads() const
    {
        QStringList texts;
        for (const QJsonObject& n : rt->log.ofType(QStringLiteral("notice"))) {
            if (const QString text = n.value(QStringLiteral("text")).toString(); text.startsWith(QLatin1String("opens the frame")))
                texts << text;
        }
        return texts;
    }
    // Those notices once there are as many as given, waiting boundedly.
    QStringList noticesOnceThere(qsizetype count)
    {
        // What arrived in time is compared by the caller; a bounded wait, not a pause.
        [[maybe_unused]] const bool arrived = QTest::qWaitFor([&] { return reloads().size() >= count; }, 5000);
        return reloads();
    }
    QByteArray read(const QString& relative)
    {
        QFile file(game.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir game;
    std::unique_ptr<app::Runtime> rt;
    std::unique_ptr<authoring::LiveReload> reload;
};

} // namespace

TEST_F(LiveReload, WatchesTheFilesOfTheFrameOnScreenAndFollowsTheFrame)
{
    const QStringList shore = reload->watched();
    for (const char* file : {"Frames/Shore.fme", "Frames/Shore.lks", "Frames/Shore.chn", "Areas/Shore/1a.dat", "Areas/Shore/title.lbl"})
        EXPECT_TRUE(shore.contains(game.filePath(QLatin1String(file)))) << file;
    EXPECT_FALSE(shore.contains(game.filePath(QStringLiteral("Frames/Stairs.fme"))));
    ASSERT_TRUE(run({QStringLiteral("click Area(1)"), QStringLiteral("expect frame Stairs")}));
    const QStringList stairs = reload->watched();
    EXPECT_TRUE(stairs.contains(game.filePath(QStringLiteral("Frames/Stairs.fme"))));
    EXPECT_FALSE(stairs.contains(game.filePath(QStringLiteral("Frames/Shore.fme"))));
}

TEST_F(LiveReload, AChangedFileOpensTheFrameAgainWithTheStateKept)
{
    const QStringList history = rt->game().FramesHistory();
    ASSERT_TRUE(rt->game().element(QStringLiteral("Area(6)")));
    // Five areas instead of six.
    write(QStringLiteral("Frames/Shore.lks"), read(QStringLiteral("Frames/Shore.lks")).replace("6\r\n", "5\r\n"));
    EXPECT_EQ(noticesOnceThere(1), QStringList{QStringLiteral("opens the frame Shore again: Frames/Shore.lks changed")});
    EXPECT_FALSE(rt->game().element(QStringLiteral("Area(6)")));
    EXPECT_TRUE(rt->game().element(QStringLiteral("Area(5)")));
    EXPECT_EQ(rt->game().FramesHistory(), history);
    EXPECT_TRUE(run({QStringLiteral("expect frame Shore"), QStringLiteral("expect variable Hint 1")}));
}

TEST_F(LiveReload, AFileSavedByRenameIsWatchedAgainForTheNextSave)
{
    const QByteArray links = read(QStringLiteral("Frames/Shore.lks"));
    writeByRename(QStringLiteral("Frames/Shore.lks"), QByteArray(links).replace("6\r\n", "5\r\n"));
    ASSERT_EQ(noticesOnceThere(1).size(), 1);
    EXPECT_FALSE(rt->game().element(QStringLiteral("Area(6)")));
    writeByRename(QStringLiteral("Frames/Shore.lks"), links);
    EXPECT_EQ(noticesOnceThere(2).value(1), QStringLiteral("opens the frame Shore again: Frames/Shore.lks changed"));
    EXPECT_TRUE(rt->game().element(QStringLiteral("Area(6)")));
}

TEST_F(LiveReload, ABrokenFileIsReportedAsWhenTheFrameOpensAndTheNextSaveMendsIt)
{
    const QByteArray record = read(QStringLiteral("Frames/Shore.fme"));
    // Half-written: the record stops in its third field.
    write(QStringLiteral("Frames/Shore.fme"), "1,\"Shore.bmp\",#FAL");
    ASSERT_EQ(noticesOnceThere(1), QStringList{QStringLiteral("opens the frame Shore again: Frames/Shore.fme changed")});
    const QString report = QStringLiteral("An error has occurred. This game may not work properly. Press 'Esc' and the click 'Exit' to quit.\r\n\r\n"
                                          "Error description: Unable to load the frame called 'Shore'.");
    EXPECT_EQ(testsupport::TakeMessageTexts(*rt),
              (std::vector<QString>{report, report + QStringLiteral(" Verify that the 'Initial Frame' exists and that the 'Go to another frame' option in "
                                                                    "the Area Properties is linked to an existing frame.")}));
    // Taking the reports emptied the log: the next notice is the first again.
    write(QStringLiteral("Frames/Shore.fme"), record);
    ASSERT_EQ(noticesOnceThere(1), QStringList{QStringLiteral("opens the frame Shore again: Frames/Shore.fme changed")});
    EXPECT_TRUE(testsupport::TakeMessageTexts(*rt).empty());
    EXPECT_TRUE(rt->game().element(QStringLiteral("Area(6)")));
    EXPECT_TRUE(run({QStringLiteral("expect frame Shore"), QStringLiteral("expect variable Hint 1")}));
}
