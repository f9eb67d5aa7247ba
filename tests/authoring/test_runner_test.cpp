// The test runner seen from outside: the player's own program given a game
// and its test scripts, its lines, its exit status and its JUnit report.
#include "support/game_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

class TestRunner : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::CopyFolder(QStringLiteral(LOOM_DEMO_DIR), game()));
        ASSERT_TRUE(QDir(tests()).removeRecursively());
        ASSERT_TRUE(QDir().mkpath(tests()));
    }
    QString game() const { return work.filePath(QStringLiteral("demo")); }
    QString tests() const { return game() + QStringLiteral("/tests"); }
    void writeScript(const QString& path, const QString& text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
    }
    Outcome runTests(const QStringList& arguments)
    {
        QProcess player;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("settings")));
        player.setProcessEnvironment(env);
        player.setWorkingDirectory(work.path());
        player.start(QStringLiteral(LOOM_PLAYER), QStringList{QStringLiteral("--test")} + arguments);
        if (!player.waitForFinished(120000))
            return {};
        // The times vary from run to run.
        static const QRegularExpression seconds(QStringLiteral("\\(\\d+\\.\\d s\\)"));
        return {player.exitCode(), QString::fromLocal8Bit(player.readAllStandardOutput()).replace(seconds, QStringLiteral("(T s)")),
                QString::fromLocal8Bit(player.readAllStandardError())};
    }
    // Every file of the game folder with its size and time of change.
    QStringList gameFiles() const
    {
        QStringList files;
        QDirIterator it(game(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            files << QStringLiteral("%1 %2 %3").arg(entry.filePath()).arg(entry.size()).arg(entry.lastModified().toMSecsSinceEpoch());
        }
        files.sort();
        return files;
    }

    QTemporaryDir work;
};

// Saves a game on the way: on a copy, never in the game folder.
const QString kPassing = QStringLiteral("click Img(0)\nexpect frame Shore\nkey S\ntype frmSaveGame.Text1 kept\nclick frmSaveGame.Command2\n"
                                        "expect frame Shore\nexpect silence\n");
const QString kBroken = QStringLiteral("# The shore, taken for the lantern room.\nclick Img(0)\nexpect frame Lantern\nexpect frame Shore\n"
                                       "expect inventory Rope\n");

} // namespace

TEST_F(TestRunner, EveryScriptOfTheTestsFolderPlaysInOrderOnACopyAndABrokenExpectationFailsWithItsLine)
{
    writeScript(tests() + QStringLiteral("/shore.test"), kPassing);
    writeScript(tests() + QStringLiteral("/broken.test"), kBroken);
    writeScript(tests() + QStringLiteral("/notes.txt"), QStringLiteral("not a script\n"));
    const QStringList before = gameFiles();
    const Outcome run = runTests({game()});
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("FAIL broken (T s): line 3: expected frame Lantern, found frame Shore\n"
                                      "    line 5: expected inventory Rope, found an empty inventory\n"
                                      "PASS shore (T s)\n"
                                      "2 scripts: 1 passed, 1 failed (T s)\n"));
    EXPECT_EQ(gameFiles(), before);
}

TEST_F(TestRunner, ScriptsNamedArePlayedAloneAndStoppingOnAFailKeepsTheFirst)
{
    writeScript(tests() + QStringLiteral("/shore.test"), kPassing);
    writeScript(tests() + QStringLiteral("/broken.test"), kBroken);
    writeScript(work.filePath(QStringLiteral("elsewhere.test")), kBroken);
    const Outcome run = runTests({QStringLiteral("--stop-on-fail"), game(), QStringLiteral("broken"), work.filePath(QStringLiteral("elsewhere.test"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("FAIL broken (T s): line 3: expected frame Lantern, found frame Shore\n"
                                      "FAIL elsewhere (T s): line 3: expected frame Lantern, found frame Shore\n"
                                      "2 scripts: 0 passed, 2 failed (T s)\n"));
    const Outcome passing = runTests({game(), QStringLiteral("shore.test")});
    EXPECT_EQ(passing.exitCode, 0) << passing.err.toStdString();
    EXPECT_EQ(passing.out, QStringLiteral("PASS shore (T s)\n1 script: 1 passed, 0 failed (T s)\n"));
}

TEST_F(TestRunner, ALineThatCannotBeCarriedOutIsAnError)
{
    writeScript(tests() + QStringLiteral("/lost.test"), QStringLiteral("click Img(0)\nclick Nowhere(9)\nexpect frame Shore\n"));
    const Outcome run = runTests({game()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("FAIL lost (T s): line 2: "))) << run.out.toStdString();
}

TEST_F(TestRunner, TheJunitReportHoldsACaseAScriptAndTheFailuresWithTheirLines)
{
    writeScript(tests() + QStringLiteral("/shore.test"), kPassing);
    writeScript(tests() + QStringLiteral("/broken.test"), kBroken);
    const QString report = work.filePath(QStringLiteral("report.xml"));
    ASSERT_EQ(runTests({QStringLiteral("--junit"), report, game()}).exitCode, 1);
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QStringList seen;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("testsuite"))
            seen << QStringLiteral("suite %1 tests=%2 failures=%3 errors=%4")
                        .arg(a.value(QLatin1String("name")), a.value(QLatin1String("tests")), a.value(QLatin1String("failures")), a.value(QLatin1String("errors")));
        else if (xml.name() == QLatin1String("testcase"))
            seen << QStringLiteral("case %1 %2").arg(a.value(QLatin1String("name")), a.value(QLatin1String("file")));
        else if (xml.name() == QLatin1String("failure"))
            seen << QStringLiteral("failure %1 | %2").arg(a.value(QLatin1String("message")).toString(), xml.readElementText());
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(seen.join(u'\n').toStdString(),
              QStringLiteral("suite demo tests=2 failures=1 errors=0\n"
                             "case broken tests/broken.test\n"
                             "failure line 3: expected frame Lantern, found frame Shore | line 3: expected frame Lantern, found frame Shore\n"
                             "line 5: expected inventory Rope, found an empty inventory\n"
                             "case shore tests/shore.test")
                  .toStdString());
}

TEST_F(TestRunner, NoScriptsToPlayOrNoReportToWriteIsTwo)
{
    const Outcome empty = runTests({game()});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_EQ(empty.err, QStringLiteral("loomplay: %1/tests holds no *.test script\n").arg(game()));
    ASSERT_TRUE(QDir(tests()).removeRecursively());
    const Outcome none = runTests({game()});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.err, QStringLiteral("loomplay: %1 has no tests folder\n").arg(game()));
    writeScript(work.filePath(QStringLiteral("shore.test")), kPassing);
    const Outcome unknown = runTests({game(), QStringLiteral("nothing")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, QStringLiteral("loomplay: no test script nothing, neither a file nor one in %1/tests\n").arg(game()));
    const Outcome report = runTests({QStringLiteral("--junit"), work.filePath(QStringLiteral("missing/report.xml")), game(), QStringLiteral("shore.test")});
    EXPECT_EQ(report.exitCode, 2);
    EXPECT_TRUE(report.err.startsWith(QStringLiteral("loomplay: cannot write the JUnit report %1: ").arg(work.filePath(QStringLiteral("missing/report.xml")))))
        << report.err.toStdString();
    EXPECT_TRUE(report.out.isEmpty());
}
