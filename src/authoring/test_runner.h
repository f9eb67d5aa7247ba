#pragma once

#include "authoring/script_result.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <vector>

namespace authoring {

struct TestOptions {
    QString gameDir;
    // The scripts named: files, or names in the game's tests folder (with
    // or without .test). Empty: every *.test file of that folder.
    QStringList scripts;
    // Also write a JUnit XML report here (empty: none).
    QString junitFile;
    // The player each script is played with, and the options every run
    // gets besides the script, its settings and the game.
    QString program;
    QStringList playerOptions;
    int parallel = 2;
    // A run that has not ended by then is stopped and counts as an error.
    int timeoutMs = 300000;
};

// `loomplay --test`: plays each test script headless with the player's own
// program, on a fresh temporary copy of the game with settings and data
// folders of its own, so that the game folder is only ever read. Runs go
// on side by side, and each says how it went in one line as soon as it
// and the ones before it have ended.
class TestRunner {
public:
    // Throws base::Failure for a folder that is no game, a tests folder
    // that is missing or holds no *.test file, or a script not found.
    explicit TestRunner(TestOptions options);

    const QStringList& scripts() const { return m_scripts; }

    // Plays every script, prints a line for each and a summary on out, and
    // writes the JUnit report; the exit status: 0 when all passed, 1 when
    // one failed, 2 when the report cannot be written (said on err). A
    // termination signal (the application's event loop told to exit) stops
    // the runs under way.
    int run(std::FILE* out, std::FILE* err);
    const std::vector<ScriptResult>& results() const { return m_results; }

    // How a result reads in the run's output.
    static QString resultText(const ScriptResult& result);

private:
    QString findScript(const QString& named) const;

    TestOptions m_options;
    QStringList m_scripts;
    std::vector<ScriptResult> m_results;
};

} // namespace authoring
