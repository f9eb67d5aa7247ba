#include "automation/script_runner.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// What a frame that closes unloads (its areas, texts and animations) is
// freed in a scripted run as in a window's event loop, not kept until the
// windows close.
class ScriptedUnloading : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::CopyFolder(QStringLiteral(LOOM_DEMO_DIR), game.path()));
        rt = std::make_unique<app::Runtime>(testsupport::ScriptedOptions(game.path(), QSize(1024, 768)));
        rt->frmWelcome().show();
    }
    // The frames of the dumps so far.
    QStringList dumpedFrames() const
    {
        QStringList frames;
        for (const QJsonObject& dump : rt->log.ofType(QStringLiteral("dump")))
            frames << dump[QStringLiteral("game")][QStringLiteral("frame")].toString();
        return frames;
    }
    std::size_t unloadedNotFreed() { return rt->game().window().unloadedNotFreed() + rt->frmWelcome().window().unloadedNotFreed(); }

    QTemporaryDir game;
    std::unique_ptr<app::Runtime> rt;
};

TEST_F(ScriptedUnloading, FramesOpenedByClicksFreeTheFrameTheyClose)
{
    QStringList lines{QStringLiteral("click Img(0)")};
    for (int i = 0; i < 5; ++i)
        lines << QStringLiteral("click Area(1)") << QStringLiteral("dump") << QStringLiteral("click Area(2)") << QStringLiteral("dump");
    automation::ScriptRunner runner(*rt, QString());
    ASSERT_TRUE(runner.run(lines));
    EXPECT_EQ(dumpedFrames().join(u' '), QStringLiteral("Stairs Shore Stairs Shore Stairs Shore Stairs Shore Stairs Shore"));
    EXPECT_EQ(unloadedNotFreed(), 0u);
}

TEST_F(ScriptedUnloading, LoadingASavedGameFreesTheFrameItReplaces)
{
    QStringList lines{QStringLiteral("click Img(0)"), QStringLiteral("click Area(1)")};
    for (int i = 0; i < 3; ++i) {
        lines << QStringLiteral("key S") << QStringLiteral("type frmSaveGame.Text1 stairs");
        // From the second save on, the box that asks to replace the save says OK.
        if (i > 0)
            lines << QStringLiteral("answer ok");
        lines << QStringLiteral("click frmSaveGame.Command2") << QStringLiteral("key Q") << QStringLiteral("answer yes") << QStringLiteral("wait 100")
              << QStringLiteral("click Img(1)") << QStringLiteral("select frmLoadGame.List1 stairs") << QStringLiteral("click frmLoadGame.Command2")
              << QStringLiteral("dump");
    }
    automation::ScriptRunner runner(*rt, QString());
    ASSERT_TRUE(runner.run(lines));
    EXPECT_EQ(dumpedFrames().join(u' '), QStringLiteral("Stairs Stairs Stairs"));
    const QJsonObject last = rt->log.ofType(QStringLiteral("dump")).back();
    EXPECT_TRUE(last[QStringLiteral("windows")][QStringLiteral("Game")][QStringLiteral("visible")].toBool());
    // Each cycle quit with yes, and each save after the first replaced the one before with OK.
    const QString quit = QStringLiteral("Do you really want to quit?|yes");
    const QString replace = QStringLiteral("'stairs' already exists. Do you want to replace it?|ok");
    QStringList boxes;
    for (const QJsonObject& box : rt->log.ofType(QStringLiteral("msgbox")))
        boxes << box[QStringLiteral("text")].toString() + u'|' + box[QStringLiteral("answer")].toString();
    EXPECT_EQ(boxes, (QStringList{quit, replace, quit, replace, quit}));
    EXPECT_EQ(unloadedNotFreed(), 0u);
}
