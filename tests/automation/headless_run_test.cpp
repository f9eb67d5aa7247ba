#include "base/event_log.h"
#include "support/game_folder.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;

namespace {

// The player's own program, run headless as a person or a script would.
struct Outcome {
    int exitCode = -1;
    std::vector<QJsonObject> lines;

    std::vector<QJsonObject> ofType(const char* type) const
    {
        std::vector<QJsonObject> out;
        for (const QJsonObject& line : lines) {
            if (line.value(QStringLiteral("type")).toString() == QLatin1String(type))
                out.push_back(line);
        }
        return out;
    }
};

Outcome playIn(const QString& game, const QString& script, const QStringList& options = {}, const QString& workingDir = QString(),
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QTemporaryDir dir;
    const QString scriptFile = dir.filePath(QStringLiteral("script.txt"));
    QFile file(scriptFile);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(script.toUtf8());
    file.close();
    QProcess player;
    player.setProcessEnvironment(env);
    player.setWorkingDirectory(workingDir.isEmpty() ? dir.path() : workingDir);
    player.start(QStringLiteral(LOOM_PLAYER),
                 QStringList{QStringLiteral("--headless"), QStringLiteral("--script"), scriptFile} + options + QStringList{game});
    if (!player.waitForFinished(60000))
        return {};
    Outcome run;
    run.exitCode = player.exitCode();
    for (const QByteArray& line : player.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            run.lines.push_back(QJsonDocument::fromJson(line).object());
    }
    return run;
}

Outcome play(const GameFolder& game, const QString& script, const QStringList& options = {}, const QString& workingDir = QString(),
             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    return playIn(game.path(), script, options, workingDir, env);
}

} // namespace

TEST(HeadlessRun, AnswersAtTheTopOfAScriptReachTheQuestionsOfTheStartUp)
{
    GameFolder game;
    game.variables({});
    // No settings file: the start-up asks, and Cancel ends the program.
    const Outcome cancelled = play(game, QStringLiteral("answer cancel\ndump\n"));
    EXPECT_EQ(cancelled.exitCode, 0);
    ASSERT_EQ(cancelled.ofType("msgbox").size(), 1u);
    EXPECT_EQ(cancelled.ofType("msgbox")[0].value(QStringLiteral("answer")).toString(), QStringLiteral("cancel"));
    EXPECT_TRUE(cancelled.ofType("dump").empty());
    // Large fonts pretended: OK to the settings question, No to the fonts one.
    const Outcome declined = play(game, QStringLiteral("# start-up\nanswer ok\nanswer no\ndump\n"), {QStringLiteral("--dpi"), QStringLiteral("120")});
    EXPECT_EQ(declined.exitCode, 0);
    const auto boxes = declined.ofType("msgbox");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].value(QStringLiteral("title")).toString(), QStringLiteral("!!!"));
    EXPECT_EQ(boxes[1].value(QStringLiteral("answer")).toString(), QStringLiteral("no"));
    EXPECT_TRUE(declined.ofType("dump").empty());
}

TEST(HeadlessRun, ARunWritesNeitherTheUsersSettingsNorWhereItWasStarted)
{
    GameFolder game;
    game.general();
    game.variables({});
    game.frame(QStringLiteral("Start"));
    QTemporaryDir home;
    QTemporaryDir startedIn;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    env.insert(QStringLiteral("HOME"), home.path());
    // Escape on the welcome window stores the per-user setting on the way out.
    const Outcome run = play(game, QStringLiteral("shot welcome.png\nkey Escape\n"), {}, startedIn.path(), env);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.ofType("notice").size(), 1u);
    EXPECT_TRUE(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    EXPECT_TRUE(QDir(startedIn.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    // Told where, it keeps them there.
    QTemporaryDir settings;
    play(game, QStringLiteral("key Escape\n"), {QStringLiteral("--settings"), settings.path()}, startedIn.path(), env);
    EXPECT_TRUE(QFile::exists(settings.filePath(QStringLiteral("loomplay/Games.ini"))));
}

TEST(HeadlessRun, ALogThatWritesItsLinesOutKeepsNone)
{
    base::EventLog log;
    log.setEnabled(true);
    int written = 0;
    log.setSink([&written](const QJsonObject&) { ++written; });
    for (int i = 0; i < 1000; ++i)
        log.write(QJsonObject{{QStringLiteral("type"), QStringLiteral("dump")}});
    EXPECT_EQ(written, 1000);
    EXPECT_TRUE(log.entries().empty());
}

// The run's log passes its lines on as they come and keeps none: the last
// message box is known to an expectation all the same.
TEST(HeadlessRun, AnExpectedMessageIsTheLastBoxShownInARunOfTheProgram)
{
    QTemporaryDir copy;
    ASSERT_TRUE(testsupport::CopyFolder(QStringLiteral(LOOM_DEMO_DIR), copy.path()));
    // The hook on the shore says so in a message box, after the strip of the rope has gone.
    const QString toTheHook = QStringLiteral("click Img(0)\nclick Area(2)\nwait 3000\nclick Area(4)\nwait 2000\n");
    const QString text = QStringLiteral("A rusty hook, wedged in the rock. It comes loose.");
    const Outcome held = playIn(copy.path(), toTheHook + QStringLiteral("expect message %1\n").arg(text));
    EXPECT_EQ(held.exitCode, 0);
    ASSERT_EQ(held.ofType("msgbox").size(), 1u);
    EXPECT_EQ(held.ofType("msgbox")[0].value(QStringLiteral("text")).toString(), text);
    EXPECT_TRUE(held.ofType("fail").empty());
    const Outcome failed = playIn(copy.path(), toTheHook + QStringLiteral("expect message Something else\n"));
    EXPECT_EQ(failed.exitCode, 1);
    ASSERT_EQ(failed.ofType("fail").size(), 1u);
    EXPECT_EQ(failed.ofType("fail")[0].value(QStringLiteral("found")).toString(), QStringLiteral("message ") + text);
}
