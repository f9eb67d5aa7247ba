#include "support/ffmpeg.h"

#include <QFile>
#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

namespace testsupport {

bool RunFfmpeg(const QStringList& arguments, QString* errors)
{
    // Started with posix_spawn rather than QProcess: the thread checker
    // loses track of this process's locks after Qt's way of starting a
    // child, and would then report every later lock as missing.
    QTemporaryFile said;
    if (!said.open())
        return false;
    std::vector<std::string> words{"ffmpeg", "-y", "-loglevel", "error"};
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, said.handle(), 2);
    pid_t child = 0;
    const int started = posix_spawnp(&child, "ffmpeg", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    const bool made = started == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (errors) {
        QFile log(said.fileName());
        *errors = log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
    }
    return made;
}

QByteArray ToneByFfmpeg(const QString& file, int rate, int channels, double seconds, const QStringList& encoding)
{
    QString errors;
    const QStringList arguments = QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                              QStringLiteral("sine=frequency=440:sample_rate=%1:duration=%2").arg(rate).arg(seconds),
                                              QStringLiteral("-ac"), QString::number(channels)}
        + encoding + QStringList{file};
    const bool made = RunFfmpeg(arguments, &errors);
    EXPECT_TRUE(made) << arguments.join(u' ').toStdString() << ": " << errors.toStdString();
    QFile written(file);
    return made && written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

} // namespace testsupport
