#include "app/command_line.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using app::CommandLine;

namespace {

QString manualPage()
{
    QFile file(QStringLiteral(LOOM_MANUAL));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The lines of the page from the one that starts with start up to the next
// heading of the same level or above.
QString section(const QString& page, const QString& start)
{
    const qsizetype from = page.indexOf(u'\n' + start + u'\n');
    if (from < 0)
        return {};
    const qsizetype body = from + start.size() + 2;
    qsizetype end = page.indexOf(QStringLiteral("\n.SH "), body);
    if (start.startsWith(QLatin1String(".SS "))) {
        const qsizetype next = page.indexOf(QStringLiteral("\n.SS "), body);
        if (next >= 0 && (end < 0 || next < end))
            end = next;
    }
    return page.mid(body, end < 0 ? -1 : end - body);
}

} // namespace

TEST(ManualPage, ListsEveryOptionOfTheHelpUnderItsGroup)
{
    const QString page = manualPage();
    ASSERT_FALSE(page.isEmpty()) << LOOM_MANUAL;
    for (const CommandLine::Option& option : CommandLine::options()) {
        const QString group = section(page, QStringLiteral(".SS ") + CommandLine::groupTitle(option.group));
        const QString name = QStringLiteral("\\-\\-") + QString::fromLatin1(option.name).replace(u'-', QStringLiteral("\\-"));
        EXPECT_TRUE(group.contains(name)) << option.name << " is not under " << CommandLine::groupTitle(option.group).toStdString();
    }
    EXPECT_FALSE(page.contains(QLatin1String("@OPTIONS@")) || page.contains(QLatin1String("@PROJECT_VERSION@")));
    EXPECT_TRUE(page.startsWith(QStringLiteral(".TH LOOMPLAY 6 \"December 2026\" \"loomplay " LOOM_VERSION "\"")));
}

TEST(ManualPage, SaysACheckThatFindsErrorsExitsWithOne)
{
    const QString status = section(manualPage(), QStringLiteral(".SH EXIT STATUS"));
    const qsizetype one = status.indexOf(QStringLiteral(".B 1\n"));
    const qsizetype two = status.indexOf(QStringLiteral(".B 2\n"));
    ASSERT_GE(one, 0);
    ASSERT_GT(two, one);
    EXPECT_TRUE(status.mid(one, two - one).contains(QLatin1String("a check found errors in the game"))) << status.toStdString();
}

// man shows what groff makes of the page: it must take every line without
// a warning.
TEST(ManualPage, GroffFormatsItWithoutWarnings)
{
    const QString groff = QStandardPaths::findExecutable(QStringLiteral("groff"));
    if (groff.isEmpty())
        GTEST_SKIP() << "groff is not installed";
    QProcess process;
    process.start(groff, {QStringLiteral("-man"), QStringLiteral("-ww"), QStringLiteral("-z"), QStringLiteral(LOOM_MANUAL)});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(QString::fromLocal8Bit(process.readAllStandardError()), QString());
}
