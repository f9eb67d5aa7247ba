#include "authoring/test_runner.h"

#include "authoring/game_checker.h"
#include "authoring/junit_report.h"
#include "base/failure.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

namespace authoring {

namespace {

const QString kTestsFolder = QStringLiteral("tests");
const QString kSuffix = QStringLiteral(".test");

// Copies a folder and everything in it; false when a file could not be.
bool copyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    const QDir source(from);
    const QDir target(to);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString path = target.filePath(source.relativeFilePath(entry.filePath()));
        if (entry.isDir() ? !QDir().mkpath(path) : !QFile::copy(entry.filePath(), path))
            return false;
    }
    return true;
}

// One script being played: its own copy of the game and its program.
struct Run {
    std::size_t index = 0;
    QTemporaryDir work{QDir::tempPath() + QStringLiteral("/loomplay-test-XXXXXX")};
    QProcess player;
    QTimer deadline;
    QElapsedTimer clock;
    QByteArray partial;
};

// What one JSON line of a run says of the script.
void readLine(const QByteArray& line, ScriptResult& into)
{
    const QJsonObject object = QJsonDocument::fromJson(line).object();
    const QString type = object.value(QStringLiteral("type")).toString();
    const int number = object.value(QStringLiteral("line")).toInt();
    if (type == QLatin1String("fail"))
        into.failures << QStringLiteral("line %1: expected %2, found %3")
                             .arg(number)
                             .arg(object.value(QStringLiteral("expected")).toString(), object.value(QStringLiteral("found")).toString());
    else if (type == QLatin1String("error") && into.error.isEmpty())
        into.error = QStringLiteral("line %1: %2").arg(number).arg(object.value(QStringLiteral("text")).toString());
}

} // namespace

TestRunner::TestRunner(TestOptions options) : m_options(std::move(options))
{
    if (!GameChecker::IsGameFolder(m_options.gameDir))
        throw base::Failure(QStringLiteral("%1 is not a game folder: it has no Config/General").arg(m_options.gameDir));
    for (const QString& named : m_options.scripts)
        m_scripts << findScript(named);
    if (!m_options.scripts.isEmpty())
        return;
    const QDir tests(QDir(m_options.gameDir).filePath(kTestsFolder));
    if (!tests.exists())
        throw base::Failure(QStringLiteral("%1 has no tests folder").arg(m_options.gameDir));
    for (const QString& name : tests.entryList({QStringLiteral("*") + kSuffix}, QDir::Files | QDir::Readable, QDir::Name))
        m_scripts << tests.filePath(name);
    if (m_scripts.isEmpty())
        throw base::Failure(QStringLiteral("%1 holds no *.test script").arg(tests.path()));
}

QString TestRunner::findScript(const QString& named) const
{
    const QDir tests(QDir(m_options.gameDir).filePath(kTestsFolder));
    for (const QString& path : {named, tests.filePath(named), tests.filePath(named + kSuffix)}) {
        if (QFileInfo(path).isFile())
            return QFileInfo(path).absoluteFilePath();
    }
    throw base::Failure(QStringLiteral("no test script %1, neither a file nor one in %2").arg(named, tests.path()));
}

QString TestRunner::resultText(const ScriptResult& result)
{
    const QString time = QStringLiteral("(%1 s)").arg(result.seconds, 0, 'f', 1);
    if (result.passed())
        return QStringLiteral("PASS %1 %2").arg(result.name, time);
    // The first reason on the script's line, any others under it.
    QStringList reasons = result.failures;
    if (!result.error.isEmpty())
        reasons << result.error;
    QString text = QStringLiteral("FAIL %1 %2: %3").arg(result.name, time, reasons.takeFirst());
    for (const QString& reason : reasons)
        text += QStringLiteral("\n    ") + reason;
    return text;
}

int TestRunner::run(std::FILE* out, std::FILE* err)
{
    // The report's file is opened first: a run that cannot report is
    // refused before it plays anything.
    std::unique_ptr<QFile> junit;
    if (!m_options.junitFile.isEmpty()) {
        junit = std::make_unique<QFile>(m_options.junitFile);
        if (!junit->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(err, "loomplay: cannot write the JUnit report %s: %s\n", qPrintable(m_options.junitFile), qPrintable(junit->errorString()));
            return 2;
        }
    }
    const QDateTime started = QDateTime::currentDateTime();
    QElapsedTimer total;
    total.start();
    const QDir game(m_options.gameDir);
    const std::size_t scripts = static_cast<std::size_t>(m_scripts.size());
    m_results.assign(scripts, ScriptResult{});
    std::vector<bool> ended(scripts, false);
    std::vector<std::shared_ptr<Run>> running;
    std::size_t next = 0;
    std::size_t told = 0;
    QEventLoop loop;

    // Each result is told once the ones before it have been, so that the
    // lines come in the scripts' order whichever run ends first.
    const auto tell = [&] {
        for (; told < scripts && ended[told]; ++told)
            std::fprintf(out, "%s\n", qPrintable(resultText(m_results[told])));
        std::fflush(out);
    };
    std::function<void()> startNext;
    const auto finish = [&](Run* run) {
        ScriptResult& result = m_results[run->index];
        result.seconds = run->clock.elapsed() / 1000.0;
        result.terminal = QString::fromLocal8Bit(run->player.readAllStandardError()).trimmed();
        if (!run->partial.isEmpty())
            readLine(run->partial, result);
        if (!run->deadline.isActive() && result.error.isEmpty())
            result.error = QStringLiteral("no end within %1 s").arg(m_options.timeoutMs / 1000);
        else if (run->player.exitStatus() == QProcess::CrashExit && result.error.isEmpty())
            result.error = QStringLiteral("the player crashed");
        else if (run->player.exitCode() != 0 && result.passed())
            result.error = QStringLiteral("the player ended with status %1: %2").arg(run->player.exitCode()).arg(result.terminal);
        ended[run->index] = true;
        tell();
        // Its program and copy of the game go once the signal that told its
        // end has returned.
        const auto it = std::find_if(running.begin(), running.end(), [run](const auto& r) { return r.get() == run; });
        QTimer::singleShot(0, &loop, [done = std::move(*it)] {});
        running.erase(it);
        startNext();
    };
    startNext = [&] {
        while (running.size() < static_cast<std::size_t>(std::max(1, m_options.parallel)) && next < scripts) {
            const std::size_t index = next++;
            const QFileInfo script(m_scripts[static_cast<qsizetype>(index)]);
            ScriptResult& result = m_results[index];
            result.name = script.fileName().endsWith(kSuffix) ? script.completeBaseName() : script.fileName();
            const QString inGame = game.relativeFilePath(script.absoluteFilePath());
            result.file = inGame.startsWith(QLatin1String("..")) ? script.absoluteFilePath() : inGame;
            auto run = std::make_shared<Run>();
            run->index = index;
            const QString copy = run->work.filePath(QStringLiteral("game"));
            if (!run->work.isValid() || !copyFolder(m_options.gameDir, copy)) {
                result.error = QStringLiteral("cannot copy the game into %1").arg(QDir::tempPath());
                ended[index] = true;
                tell();
                continue;
            }
            Run* r = run.get();
            // Saves and settings stay in the run's own folder.
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("XDG_DATA_HOME"), r->work.filePath(QStringLiteral("data")));
            r->player.setProcessEnvironment(env);
            r->player.setWorkingDirectory(r->work.path());
            QObject::connect(&r->player, &QProcess::readyReadStandardOutput, &loop, [r, &result] {
                r->partial += r->player.readAllStandardOutput();
                for (qsizetype end = r->partial.indexOf('\n'); end >= 0; end = r->partial.indexOf('\n')) {
                    readLine(r->partial.left(end), result);
                    r->partial.remove(0, end + 1);
                }
            });
            QObject::connect(&r->player, &QProcess::finished, &loop, [r, &finish] {
                r->player.disconnect();
                finish(r);
            });
            QObject::connect(&r->player, &QProcess::errorOccurred, &loop, [r, &finish, &result](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart)
                    return;
                result.error = QStringLiteral("cannot start %1: %2").arg(r->player.program(), r->player.errorString());
                r->player.disconnect();
                finish(r);
            });
            r->deadline.setSingleShot(true);
            QObject::connect(&r->deadline, &QTimer::timeout, &r->player, &QProcess::kill);
            r->clock.start();
            r->deadline.start(m_options.timeoutMs);
            running.push_back(std::move(run));
            r->player.start(m_options.program, QStringList{QStringLiteral("--headless"), QStringLiteral("--script"), script.absoluteFilePath(),
                                                           QStringLiteral("--settings"), r->work.filePath(QStringLiteral("settings"))}
                                                   + m_options.playerOptions + QStringList{copy});
        }
        if (told == scripts)
            loop.quit();
    };
    startNext();
    if (told < scripts)
        loop.exec();
    // Stopped from outside: the runs under way end with their programs.
    if (told < scripts)
        return 1;

    const auto failed = std::count_if(m_results.begin(), m_results.end(), [](const ScriptResult& r) { return !r.passed(); });
    std::fprintf(out, "%lld %s: %lld passed, %lld failed (%.1f s)\n", static_cast<long long>(m_results.size()),
                 m_results.size() == 1 ? "script" : "scripts", static_cast<long long>(m_results.size() - failed), static_cast<long long>(failed),
                 total.elapsed() / 1000.0);
    std::fflush(out);
    if (junit) {
        if (!WriteJunitReport(*junit, QFileInfo(QDir::cleanPath(m_options.gameDir)).fileName(), started, m_results) || !junit->flush()) {
            std::fprintf(err, "loomplay: cannot write the JUnit report %s: %s\n", qPrintable(m_options.junitFile), qPrintable(junit->errorString()));
            return 2;
        }
    }
    return failed == 0 ? 0 : 1;
}

} // namespace authoring
