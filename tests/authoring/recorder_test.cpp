#include "support/game_folder.h"
#include "support/player.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
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
    QStringList fails;
    QString terminal;
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
    run.terminal = QString::fromLocal8Bit(player.readAllStandardError());
    for (const QByteArray& line : player.readAllStandardOutput().split('\n')) {
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        const QString type = object.value(QStringLiteral("type")).toString();
        if (type == QLatin1String("dump"))
            run.dumps << QString::fromUtf8(line).replace(QDir::toNativeSeparators(game), QStringLiteral("GAME"));
        else if (type == QLatin1String("error"))
            run.errors << QString::fromUtf8(line);
        else if (type == QLatin1String("fail"))
            run.fails << QStringLiteral("%1: %2 | %3")
                             .arg(object.value(QStringLiteral("line")).toInt())
                             .arg(object.value(QStringLiteral("expected")).toString(), object.value(QStringLiteral("found")).toString());
    }
    return run;
}

} // namespace

// The demo's walkthrough (clicks, keys, drags, a dialog typed into and
// clicked, a list chosen from, a video with waits inside it, timers, and a
// question answered against its default), recorded and played again.
TEST(Recorder, ReplayingARecordedRunReachesTheSameState)
{
    QString walkthrough = readFile(QStringLiteral(LOOM_DEMO_DIR "/tests/walkthrough.test"));
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

// The save dialog driven by keys alone: Return with no name (a box
// answered), a name typed letter by letter, Return again to save; then the
// dialog once more, whose Return asks to replace the save and is answered
// Cancel.
const QString kKeyedSave = QStringLiteral("click Img(0)\nkey S\nanswer ok\nkey Enter\nkey B\nkey O\nkey A\nkey T\nkey Enter\n"
                                          "key S\nanswer cancel\nkey Enter\ndump\n");

class RecordedKeys : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_out = new QTemporaryDir;
        const QString file = s_out->filePath(QStringLiteral("recording.txt"));
        s_recorded = new PlayedRun(play(kKeyedSave, {QStringLiteral("--record"), file}));
        s_recording = new QString(readFile(file));
    }
    static void TearDownTestSuite()
    {
        delete s_recording;
        delete s_recorded;
        delete s_out;
    }
    // The recorded lines, without the waits of the clock.
    static QStringList inputLines()
    {
        QStringList lines;
        for (const QString& line : s_recording->split(u'\n', Qt::SkipEmptyParts)) {
            if (!line.startsWith(QLatin1String("wait ")) && !line.startsWith(QLatin1String("expect ")))
                lines << line;
        }
        return lines;
    }

    static QTemporaryDir* s_out;
    static PlayedRun* s_recorded;
    static QString* s_recording;
};

QTemporaryDir* RecordedKeys::s_out = nullptr;
PlayedRun* RecordedKeys::s_recorded = nullptr;
QString* RecordedKeys::s_recording = nullptr;

TEST_F(RecordedKeys, ReturnInADialogIsAKeyLineAndTypingOneTypeLine)
{
    ASSERT_EQ(s_recorded->exitCode, 0) << s_recorded->errors.join(u'\n').toStdString();
    EXPECT_EQ(inputLines(), (QStringList{QStringLiteral("click Img(0)"), QStringLiteral("key S"), QStringLiteral("answer ok"),
                                         QStringLiteral("key Enter"), QStringLiteral("type frmSaveGame.Text1 BOAT"), QStringLiteral("key Enter"),
                                         QStringLiteral("key S"), QStringLiteral("answer cancel"), QStringLiteral("key Enter")}));
}

TEST_F(RecordedKeys, TheReplayReachesTheSameStateAndSaves)
{
    ASSERT_FALSE(s_recorded->dumps.isEmpty());
    const PlayedRun replayed = play(*s_recording + QStringLiteral("dump\n"));
    ASSERT_EQ(replayed.exitCode, 0) << replayed.errors.join(u'\n').toStdString();
    ASSERT_FALSE(replayed.dumps.isEmpty());
    EXPECT_EQ(replayed.dumps.back(), s_recorded->dumps.back());
    const QJsonObject state = QJsonDocument::fromJson(replayed.dumps.back().toUtf8()).object();
    EXPECT_EQ(state[QStringLiteral("saves")].toArray(), QJsonArray{QStringLiteral("BOAT")});
    EXPECT_TRUE(state[QStringLiteral("windows")][QStringLiteral("frmSaveGame")][QStringLiteral("visible")].toBool());
}

TEST_F(RecordedKeys, TheRecordingEndsWithTheStateItReached)
{
    const QStringList lines = s_recording->split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.back(), QStringLiteral(R"(expect {"game":{"disappear":[],"frame":"Shore","history":["Shore"],"inventory":[],)"
                                           R"("variables":[["Hint",0],["GotOil",0],["LampLit",0],["Dry",0]]},"saves":["BOAT"],)"
                                           R"("shown":["Game","frmSaveGame"]})"));
}

// Without the Return that saved, the replay goes astray (the next S is
// typed into the name, which the last Return then saves) and fails.
TEST_F(RecordedKeys, AReplayThatMissesTheRecordedStateFails)
{
    QStringList lines = s_recording->split(u'\n', Qt::SkipEmptyParts);
    const qsizetype typed = lines.indexOf(QStringLiteral("type frmSaveGame.Text1 BOAT"));
    ASSERT_GE(typed, 0);
    ASSERT_EQ(lines.value(typed + 1), QStringLiteral("key Enter"));
    lines.removeAt(typed + 1);
    const PlayedRun replayed = play(lines.join(u'\n') + u'\n');
    EXPECT_EQ(replayed.exitCode, 1);
    ASSERT_EQ(replayed.errors.size(), 1);
    EXPECT_EQ(QJsonDocument::fromJson(replayed.errors[0].toUtf8())[QStringLiteral("text")].toString(),
              QStringLiteral(R"(The state differs: saves is ["BOATS"], expected ["BOAT"])"));
}

// A recording that ends with the expectations of its state in words: a
// test as it stands, which a replay that goes astray fails line by line.
TEST(Recorder, ARecordingEndsWithTheExpectationsOfItsStateInWords)
{
    QTemporaryDir out;
    const QString recording = out.filePath(QStringLiteral("recording.test"));
    const PlayedRun recorded = play(QStringLiteral("click Img(0)\nclick Area(5)\nclick Area(2)\nwait 3000\nclick Area(4)\nwait 2000\n"),
                                    {QStringLiteral("--record"), recording, QStringLiteral("--expect-end")});
    ASSERT_EQ(recorded.exitCode, 0) << recorded.errors.join(u'\n').toStdString();
    const QString script = readFile(recording);
    const QStringList lines = script.split(u'\n', Qt::SkipEmptyParts);
    const qsizetype first = lines.indexOf(QStringLiteral("expect frame Shore"));
    ASSERT_GE(first, 0) << script.toStdString();
    EXPECT_EQ(lines.mid(first).join(u'\n').toStdString(), QStringLiteral("expect frame Shore\n"
                                                                             "expect inventory Rope\n"
                                                                             "expect inventory Hook\n"
                                                                             "expect variable Hint 1\n"
                                                                             "expect removed Shore 2\n"
                                                                             "expect removed Shore 4\n"
                                                                             "expect silence").toStdString());
    EXPECT_FALSE(script.contains(u'{'));

    const PlayedRun replayed = play(script);
    EXPECT_EQ(replayed.exitCode, 0) << replayed.fails.join(u'\n').toStdString();
    EXPECT_TRUE(replayed.fails.isEmpty());
    // Without the hook's click the replay ends short of it.
    QStringList astray = lines;
    astray.removeOne(QStringLiteral("click Area(4)"));
    const PlayedRun wrong = play(astray.join(u'\n') + u'\n');
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.fails.join(u'\n').toStdString(), QStringLiteral("9: inventory Hook | inventory Rope\n"
                                                                  "12: removed Shore 4 | area 4 of Shore not removed").toStdString());
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
    QStringList lines = linesOf(recording);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.takeLast().startsWith(QLatin1String("expect ")));
    EXPECT_EQ(lines, (QStringList{QStringLiteral("click lblButton(0)"), QStringLiteral("click-at 5 5"), QStringLiteral("click Area(2) right"),
                                  QStringLiteral("wait 250")}));
}

// A recording whose lines cannot all be written is no script to trust:
// the run says so and fails.
TEST(Recorder, ARecordingThatFailsToWriteFailsTheRun)
{
    if (!QFileInfo(QStringLiteral("/dev/full")).isWritable())
        GTEST_SKIP() << "no /dev/full";
    const PlayedRun run = play(QStringLiteral("click Img(0)\n"), {QStringLiteral("--record"), QStringLiteral("/dev/full")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.terminal, QStringLiteral("loomplay: cannot write the recording /dev/full: No space left on device\n"));
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
    const QStringList lines = linesOf(recording);
    EXPECT_EQ(lines.mid(0, 4), (QStringList{QStringLiteral("key Tab"), QStringLiteral("key Shift+Tab"), QStringLiteral("key Tab"),
                                            QStringLiteral("key Space")}));
    // Then the state the run ended in.
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[4].startsWith(QLatin1String("expect {")));
}
