#include "platform/settings_store.h"
#include "support/settings_folder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using platform::SettingsStore;
using Records = std::vector<SettingsStore::Record>;

namespace {

// The store in a folder of each case's own.
class SettingsLists : public ::testing::Test {
protected:
    // An application's file as a person might have edited it.
    void writeFile(const QString& application, const QByteArray& text)
    {
        ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("loomplay")));
        QFile file(QDir(folder.path()).filePath(QStringLiteral("loomplay/%1.ini").arg(application)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    testsupport::SettingsFolder folder;
    SettingsStore store;
    const QString app = QStringLiteral("Tests");
};

} // namespace

TEST_F(SettingsLists, KeepTheirEntriesInOrderAndAreReplacedWhole)
{
    EXPECT_TRUE(store.list(app, QStringLiteral("Games")).empty());
    const Records three = {{{QStringLiteral("folder"), QStringLiteral("/a")}, {QStringLiteral("name"), QStringLiteral("A")}},
                           {{QStringLiteral("folder"), QStringLiteral("/b")}},
                           {{QStringLiteral("folder"), QStringLiteral("/c")}, {QStringLiteral("name"), QStringLiteral("C, with a comma")}}};
    store.setList(app, QStringLiteral("Games"), three);
    EXPECT_EQ(store.list(app, QStringLiteral("Games")), three);
    const Records one = {{{QStringLiteral("folder"), QStringLiteral("/d")}}};
    store.setList(app, QStringLiteral("Games"), one);
    EXPECT_EQ(store.list(app, QStringLiteral("Games")), one);
}

TEST_F(SettingsLists, LiveBesideTheValuesOfTheirApplication)
{
    store.setValue(app, QStringLiteral("Games"), QStringLiteral("Sound"), QStringLiteral("1"));
    store.setList(app, QStringLiteral("Recent"), {{{QStringLiteral("folder"), QStringLiteral("/a")}}});
    store.setList(app, QStringLiteral("Recent"), {});
    EXPECT_EQ(store.value(app, QStringLiteral("Games"), QStringLiteral("Sound")), QStringLiteral("1"));
    EXPECT_TRUE(store.list(app, QStringLiteral("Recent")).empty());
    // A section named with a folder separator is still one section.
    store.setList(app, QStringLiteral("a/b"), {{{QStringLiteral("k"), QStringLiteral("v")}}});
    EXPECT_EQ(store.list(app, QStringLiteral("a/b")), (Records{{{QStringLiteral("k"), QStringLiteral("v")}}}));
    EXPECT_TRUE(store.list(app, QStringLiteral("a")).empty());
}

TEST_F(SettingsLists, HoldNoMoreEntriesThanTheFileDoesWhateverItsSizeClaims)
{
    writeFile(app, "[Games]\n1\\folder=/a\n3\\folder=/c\nsize=2000000000\n");
    EXPECT_EQ(store.list(app, QStringLiteral("Games")),
              (Records{{{QStringLiteral("folder"), QStringLiteral("/a")}}, {}, {{QStringLiteral("folder"), QStringLiteral("/c")}}}));
}

TEST_F(SettingsLists, OfADamagedFileAreWhatCouldBeRead)
{
    writeFile(app, "[Games\n1\\folder=/lost\n[Games]\n1\\folder=/b\nsize=1\n");
    EXPECT_EQ(store.list(app, QStringLiteral("Games")), (Records{{{QStringLiteral("folder"), QStringLiteral("/b")}}}));
}
