#include "support/game_folder.h"
#include "support/player.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool writeFile(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.toUtf8().size();
}

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList linesOf(const QString& path)
{
    return readFile(path).split(u'\n', Qt::SkipEmptyParts);
}

// A headless run of the player's own program on a fresh copy of the demo;
// its dump lines, with the game folder's path taken out of them.
struct PlayedRun {
    int exitCode = -1;
    QStringList dumps;
    QStringList errors;
};

PlayedRun play(const QString& script, const QStringList& options = {}, const QString& source = QStringLiteral(LOOM_DEMO_DIR))
{
    QTemporaryDir work;
    const QString game = work.filePath(QStringLiteral("game"));
    if (!testsupport::CopyFolder(source, game) || !writeFile(work.filePath(QStringLiteral("script.txt")), script))
        return {};
    QProcess player;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("settings")));
    player.setProcessEnvironment(env);
    player.setWorkingDirectory(work.path());
    player.start(QStringLiteral(LOOM_PLAYER), QStringList{QStringLiteral("--headless"), QStringLiteral("--script"), work.filePath(QStringLiteral("script.txt")),
                                                          QStringLiteral("--start-time"), QStringLiteral("2026-03-01T20:00:00")}
                                                  + options + QStringList{game});
    PlayedRun run;
    if (!player.waitForFinished(120000))
        return run;
    run.exitCode = player.exitCode();
    for (const QByteArray& line : player.readAllStandardOutput().split('\n')) {
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        const QString type = object.value(QStringLiteral("type")).toString();
        if (type == QLatin1String("dump"))
            run.dumps << QString::fromUtf8(line).replace(QDir::toNativeSeparators(game), QStringLiteral("GAME"));
        else if (type == QLatin1String("error"))
            run.errors << QString::fromUtf8(line);
    }
    return run;
}

} // namespace

// The demo's walkthrough (clicks, keys, drags, a dialog typed into and
// clicked, a list chosen from, a video with waits inside it, timers, and a
// question answered against its default), recorded and played again.
TEST(Recorder, ReplayingARecordedRunReachesTheSameState)
{
    QString walkthrough = readFile(QStringLiteral(LOOM_DEMO_DIR "/walkthrough.txt"));
    ASSERT_FALSE(walkthrough.isEmpty());
    // Up to the quit question at the end, which is answered No this time.
    walkthrough = walkthrough.left(walkthrough.indexOf(QLatin1String("key Q")));
    walkthrough += QStringLiteral("answer no\nkey Q\nwait 700\nmove BackImage\ndump\n");
    QTemporaryDir out;
    const QString recording = out.filePath(QStringLiteral("recording.txt"));
    const PlayedRun recorded = play(walkthrough, {QStringLiteral("--record"), recording});
    ASSERT_EQ(recorded.exitCode, 0) << recorded.errors.join(u'\n').toStdString();
    const QString script = readFile(recording);
    const QStringList lines = script.split(u'\n', Qt::SkipEmptyParts);
    // Input by the names the scripted-play language gives it, the answer
    // before the key that raises its question, and no dump or shot lines.
    EXPECT_TRUE(lines.contains(QStringLiteral("drag PickedObject(1) PickedObject(2)")));
    EXPECT_TRUE(lines.contains(QStringLiteral("type frmSaveGame.Text1 before the lamp")));
    EXPECT_TRUE(lines.contains(QStringLiteral("select frmLoadGame.List1 before the lamp")));
    EXPECT_TRUE(lines.contains(QStringLiteral("click frmLoadGame.Command2")));
    EXPECT_EQ(lines.indexOf(QStringLiteral("answer no")) + 1, lines.indexOf(QStringLiteral("key Q")));
    EXPECT_FALSE(script.contains(QLatin1String("dump")) || script.contains(QLatin1String("shot")));
    // The waits inside the video are where the script's waits were.
    const qsizetype video = lines.indexOf(QStringLiteral("click Area(3)"));
    ASSERT_GE(video, 0);
    EXPECT_EQ(lines.mid(video + 1, 2), (QStringList{QStringLiteral("wait 1000"), QStringLiteral("wait 1500")}));

    const PlayedRun replayed = play(script + QStringLiteral("dump\n"));
    ASSERT_EQ(replayed.exitCode, 0) << replayed.errors.join(u'\n').toStdString();
    ASSERT_FALSE(recorded.dumps.isEmpty());
    ASSERT_FALSE(replayed.dumps.isEmpty());
    EXPECT_EQ(replayed.dumps.back(), recorded.dumps.back());
    // Still playing: the question was answered No.
    const QJsonObject state = QJsonDocument::fromJson(replayed.dumps.back().toUtf8()).object();
    EXPECT_TRUE(state[QStringLiteral("windows")][QStringLiteral("Game")][QStringLiteral("visible")].toBool());
}

TEST(Recorder, ARecordingThatCannotBeWrittenStopsTheRun)
{
    QTemporaryDir out;
    const PlayedRun run = play(QStringLiteral("dump\n"), {QStringLiteral("--record"), out.filePath(QStringLiteral("no/such/folder/recording.txt"))});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.dumps.isEmpty());
}

// A press whose element lies under another at its middle is written as the
// point it was made at; one on an element that a click on its middle
// reaches again, by the element's name.
TEST(Recorder, APressIsWrittenByNameOnlyWhereTheNameLeadsBackToIt)
{
    testsupport::GameFolder game;
    game.general();
    game.variables({});
    game.frame(QStringLiteral("Start"));
    game.write(QStringLiteral("Frames/Start.lks"), {{2}});
    game.area(QStringLiteral("Start"), 1, 0, 0, 3060, 3060);
    game.area(QStringLiteral("Start"), 2, 1170, 1170, 780, 780);
    QTemporaryDir out;
    const QString recording = out.filePath(QStringLiteral("recording.txt"));
    const PlayedRun run = play(QStringLiteral("click lblButton(0)\nclick-at 5 5\nclick Area(2) right\nwait 250\n"),
                               {QStringLiteral("--record"), recording}, game.path());
    ASSERT_EQ(run.exitCode, 0) << run.errors.join(u'\n').toStdString();
    EXPECT_EQ(linesOf(recording), (QStringList{QStringLiteral("click lblButton(0)"), QStringLiteral("click-at 5 5"),
                                               QStringLiteral("click Area(2) right"), QStringLiteral("wait 250")}));
}

// The keys that move the welcome window's focus are written too: a replay's
// Enter or Space then presses the same button.
TEST(Recorder, KeysThatMoveTheFocusAreWritten)
{
    testsupport::GameFolder game;
    game.general();
    game.variables({});
    game.frame(QStringLiteral("Start"));
    QTemporaryDir out;
    const QString recording = out.filePath(QStringLiteral("recording.txt"));
    const PlayedRun run = play(QStringLiteral("key Tab\nkey Shift+Tab\nkey Tab\nkey Space\n"), {QStringLiteral("--record"), recording}, game.path());
    ASSERT_EQ(run.exitCode, 0) << run.errors.join(u'\n').toStdString();
    EXPECT_EQ(linesOf(recording), (QStringList{QStringLiteral("key Tab"), QStringLiteral("key Shift+Tab"), QStringLiteral("key Tab"),
                                               QStringLiteral("key Space")}));
}
