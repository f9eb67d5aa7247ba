#include "automation/script_runner.h"
#include "support/player.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include "support/game_folder.h"

#include <gtest/gtest.h>

namespace {

QJsonArray pairs(std::initializer_list<std::pair<const char*, int>> list)
{
    QJsonArray out;
    for (const auto& [name, value] : list)
        out.append(QJsonArray{QString::fromLatin1(name), value});
    return out;
}

} // namespace

// The demo played from the title to its end, saving and loading on the way.
TEST(DemoWalkthrough, PlaysFromTheTitleToTheEndAndBackFromASave)
{
    QTemporaryDir game;
    ASSERT_TRUE(testsupport::CopyFolder(QStringLiteral(LOOM_DEMO_DIR), game.path()));
    QFile script(game.filePath(QStringLiteral("tests/walkthrough.test")));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    app::Runtime rt(testsupport::ScriptedOptions(game.path(), QSize(1024, 768)));
    rt.frmWelcome().show();
    automation::ScriptRunner runner(rt, QString());
    EXPECT_TRUE(runner.run(QString::fromUtf8(script.readAll()).split(u'\n')));

    EXPECT_TRUE(rt.log.ofType(QStringLiteral("error")).empty());
    for (const QJsonObject& box : rt.log.ofType(QStringLiteral("msgbox")))
        EXPECT_NE(box.value(QStringLiteral("icon")).toString(), QStringLiteral("critical")) << qPrintable(box.value(QStringLiteral("text")).toString());
    const auto dumps = rt.log.ofType(QStringLiteral("dump"));
    ASSERT_EQ(dumps.size(), 8u);
    auto game_ = [&](std::size_t i) { return dumps[i].value(QStringLiteral("game")).toObject(); };
    // The shore, after combining rope and hook.
    EXPECT_EQ(game_(2).value(QStringLiteral("frame")).toString(), QStringLiteral("Shore"));
    EXPECT_EQ(game_(2).value(QStringLiteral("inventory")).toArray(), QJsonArray{QStringLiteral("Grapple")});
    EXPECT_EQ(game_(2).value(QStringLiteral("disappear")).toArray(),
              (QJsonArray{QJsonArray{QStringLiteral("Shore"), 2}, QJsonArray{QStringLiteral("Shore"), 4}}));
    // Saved in the lantern room.
    // The sea loops on channel 0 of the shore, and falls silent on the stairs;
    // the lantern room's tune loops.
    const QJsonObject shoreSea = dumps[1][QStringLiteral("media")][QStringLiteral("channels")][0].toObject();
    EXPECT_TRUE(shoreSea.value(QStringLiteral("playing")).toBool());
    EXPECT_TRUE(shoreSea.value(QStringLiteral("loop")).toBool());
    const QJsonObject lantern = dumps[3][QStringLiteral("media")].toObject();
    EXPECT_FALSE(lantern[QStringLiteral("channels")][0][QStringLiteral("playing")].toBool());
    EXPECT_EQ(lantern.value(QStringLiteral("MidiStatus")).toString(), QStringLiteral("playing"));
    EXPECT_TRUE(lantern.value(QStringLiteral("MidiLoop")).toBool());
    EXPECT_EQ(game_(3).value(QStringLiteral("frame")).toString(), QStringLiteral("Lantern"));
    EXPECT_EQ(game_(3).value(QStringLiteral("history")).toArray(),
              (QJsonArray{QStringLiteral("Shore"), QStringLiteral("Stairs"), QStringLiteral("Lantern")}));
    // The lamp lit with the oil.
    EXPECT_EQ(game_(4).value(QStringLiteral("variables")).toArray(), pairs({{"Hint", 0}, {"GotOil", 1}, {"LampLit", 1}, {"Dry", 0}}));
    EXPECT_EQ(game_(4).value(QStringLiteral("inventory")).toArray(), QJsonArray());
    // The dawn's timer led to the credits, whose click ended the game.
    EXPECT_EQ(game_(5).value(QStringLiteral("frame")).toString(), QStringLiteral("Credits"));
    EXPECT_FALSE(dumps[6][QStringLiteral("windows")][QStringLiteral("Game")][QStringLiteral("visible")].toBool());
    EXPECT_TRUE(dumps[6][QStringLiteral("windows")][QStringLiteral("frmWelcome")][QStringLiteral("visible")].toBool());
    // The save brings back the lantern room with the grapple.
    EXPECT_EQ(game_(7).value(QStringLiteral("frame")).toString(), QStringLiteral("Lantern"));
    EXPECT_EQ(game_(7).value(QStringLiteral("inventory")).toArray(), QJsonArray{QStringLiteral("Grapple")});
    EXPECT_EQ(game_(7).value(QStringLiteral("variables")).toArray(), pairs({{"Hint", 0}, {"GotOil", 0}, {"LampLit", 0}, {"Dry", 0}}));
    EXPECT_TRUE(rt.ended());
}
