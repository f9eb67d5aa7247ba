#include "app/recent_games.h"
#include "base/failure.h"
#include "support/settings_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using app::RecentGames;

namespace {

// The player's settings in a folder of each case's own.
class GameList : public ::testing::Test {
protected:
    QString folder(const char* name) const { return QDir(games.path()).filePath(QLatin1String(name)); }
    static std::vector<QString> folders(const RecentGames& list)
    {
        std::vector<QString> out;
        for (const RecentGames::Game& g : list.games())
            out.push_back(g.folder);
        return out;
    }

    testsupport::SettingsFolder settings;
    QTemporaryDir games;
};

} // namespace

TEST_F(GameList, TheNewestGameComesFirstAndTheListIsKept)
{
    {
        RecentGames list;
        list.add(folder("one"), QStringLiteral("One"));
        list.add(folder("two"), QStringLiteral("Two"));
        list.add(folder("three"), QStringLiteral("Three"));
    }
    const RecentGames again;
    EXPECT_EQ(folders(again), (std::vector<QString>{folder("three"), folder("two"), folder("one")}));
    EXPECT_EQ(again.games()[0].name, QStringLiteral("Three"));
    EXPECT_TRUE(QFile::exists(QDir(settings.path()).filePath(QStringLiteral("loomplay/loomplay.ini"))));
}

TEST_F(GameList, AGamePlayedAgainMovesToTheFrontOnceWithItsNewName)
{
    RecentGames list;
    list.add(folder("one"), QStringLiteral("One"));
    list.add(folder("two"), QStringLiteral("Two"));
    // The same folder written another way is the same game.
    list.add(folder("two") + QStringLiteral("/../one/"), QStringLiteral("One, second edition"));
    ASSERT_EQ(list.games().size(), 2u);
    EXPECT_EQ(list.games()[0], (RecentGames::Game{folder("one"), QStringLiteral("One, second edition")}));
    EXPECT_EQ(folders(RecentGames()), (std::vector<QString>{folder("one"), folder("two")}));
}

TEST_F(GameList, ARemovedGameIsGoneForGood)
{
    RecentGames list;
    list.add(folder("one"), QStringLiteral("One"));
    list.add(folder("two"), QStringLiteral("Two"));
    list.add(folder("three"), QStringLiteral("Three"));
    list.remove(folder("two"));
    list.remove(folder("never played"));
    EXPECT_EQ(folders(list), (std::vector<QString>{folder("three"), folder("one")}));
    EXPECT_EQ(folders(RecentGames()), (std::vector<QString>{folder("three"), folder("one")}));
}

TEST_F(GameList, TheOldestGamesGoBeyondTheLimit)
{
    RecentGames list;
    for (int i = 0; i < RecentGames::kMost + 3; ++i)
        list.add(folder(QByteArray::number(i).constData()), QString::number(i));
    const RecentGames again;
    ASSERT_EQ(int(again.games().size()), RecentGames::kMost);
    EXPECT_EQ(again.games().front().name, QString::number(RecentGames::kMost + 2));
    EXPECT_EQ(again.games().back().name, QStringLiteral("3"));
}

TEST_F(GameList, AHandEditedListLosesItsBlanksAndRepeats)
{
    {
        QSettings file(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("loomplay"), QStringLiteral("loomplay"));
        file.beginWriteArray(QStringLiteral("RecentGames"));
        const QString entries[] = {folder("one"), QString(), folder("one"), folder("two")};
        for (int i = 0; i < 4; ++i) {
            file.setArrayIndex(i);
            file.setValue(QStringLiteral("folder"), entries[i]);
        }
        file.endArray();
    }
    EXPECT_EQ(folders(RecentGames()), (std::vector<QString>{folder("one"), folder("two")}));
}

// The list as players before this one wrote it, byte for byte: it loads,
// and is written back the same way.
TEST_F(GameList, AListWrittenByAnEarlierPlayerLoadsAndIsWrittenTheSameWay)
{
    const QString file = QDir(settings.path()).filePath(QStringLiteral("loomplay/loomplay.ini"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    const QString text = QStringLiteral("[RecentGames]\n1\\folder=%1\n1\\name=Two\n2\\folder=%2\n2\\name=One\nsize=2\n").arg(folder("two"), folder("one"));
    {
        QFile earlier(file);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write(text.toUtf8());
    }
    RecentGames list;
    EXPECT_EQ(list.games(), (std::vector<RecentGames::Game>{{folder("two"), QStringLiteral("Two")}, {folder("one"), QStringLiteral("One")}}));
    list.add(folder("three"), QStringLiteral("Three"));
    list.remove(folder("three"));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(written.readAll()), text);
}

TEST_F(GameList, AListThatCannotBeWrittenSaysSo)
{
    RecentGames list;
    // A file where the settings folder should be.
    QFile blocker(QDir(settings.path()).filePath(QStringLiteral("loomplay")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        list.add(folder("one"), QStringLiteral("One"));
        FAIL() << "the list was written";
    } catch (const base::Failure& e) {
        EXPECT_STREQ(e.what(), "Cannot write the list of games played before");
    }
}
