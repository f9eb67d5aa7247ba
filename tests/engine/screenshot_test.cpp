#include "automation/script_runner.h"
#include "base/failure.h"
#include "engine/screenshots.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

namespace {

std::vector<QString> noticeTexts(app::Runtime& rt)
{
    std::vector<QString> texts;
    for (const QJsonObject& notice : rt.log.ofType(QStringLiteral("notice")))
        texts.push_back(notice.value(QStringLiteral("text")).toString());
    return texts;
}

} // namespace

TEST(Screenshots, F12SavesTheGamePictureAtTheGamesOwnSizeAndSaysWhere)
{
    GameFolder folder;
    folder.general();
    folder.variables({"seen"});
    folder.frame(QStringLiteral("Start"));
    QTemporaryDir pictures;
    // The window is larger than the game: the picture is the game's own size.
    run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path(), QSize(1024, 768));
    options.screenshotFolder = pictures.filePath(QStringLiteral("loomplay"));
    Player player(options);
    player.welcome().show();
    automation::ScriptRunner runner(player.rt(), QString());
    ASSERT_TRUE(runner.run({QStringLiteral("click frmWelcome.lblButton(0)"), QStringLiteral("key F12"), QStringLiteral("key F12")}));
    // Named by the game's clock: a second into the game, once Start was pressed.
    const QString first = QDir(options.screenshotFolder).filePath(QStringLiteral("Test Game 2026-01-01 10-00-01.png"));
    const QString second = QDir(options.screenshotFolder).filePath(QStringLiteral("Test Game 2026-01-01 10-00-01 (2).png"));
    EXPECT_EQ(noticeTexts(player.rt()), (std::vector<QString>{QStringLiteral("Screenshot saved: ") + first, QStringLiteral("Screenshot saved: ") + second}));
    const QImage picture(first);
    EXPECT_EQ(picture.size(), QSize(640, 480));
    EXPECT_EQ(picture, QImage(second));
    // The game itself never saw the key.
    EXPECT_TRUE(player.takeMessages().empty());
}

TEST(Screenshots, NamesAreTheGamesMadeSafeForAFileName)
{
    QTemporaryDir dir;
    const engine::Screenshots screenshots(dir.path());
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QDateTime at(QDate(2026, 12, 8), QTime(21, 5, 9));
    EXPECT_EQ(screenshots.save(picture, QStringLiteral("../Act 1/2: Dawn"), at), dir.filePath(QStringLiteral("-Act 1-2- Dawn 2026-12-08 21-05-09.png")));
    EXPECT_EQ(screenshots.save(picture, QStringLiteral("  "), at), dir.filePath(QStringLiteral("loomplay 2026-12-08 21-05-09.png")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    // A folder that cannot be made is a failure told, not a crash.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    try {
        engine::Screenshots(dir.filePath(QStringLiteral("file/inside"))).save(picture, QStringLiteral("Game"), at);
        ADD_FAILURE() << "saved under a file";
    } catch (const base::Failure& failure) {
        EXPECT_EQ(QString::fromUtf8(failure.what()), QStringLiteral("Cannot make the folder ") + dir.filePath(QStringLiteral("file/inside")));
    }
}
