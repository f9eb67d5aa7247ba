#include "automation/script_runner.h"
#include "base/event_log.h"
#include "demo/authoring.h"
#include "devices/audio_device.h"
#include "devices/media_commands.h"
#include "devices/media_module.h"
#include "platform/clock.h"
#include "platform/file_resolver.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

namespace {

// A game whose first frame moves on to the next by its timer, two seconds in.
class PlayerPause : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"seen"});
        folder.frame(QStringLiteral("Start"), {0, "255", false, false, "", true, 2, "Next", "", false});
        folder.frame(QStringLiteral("Next"));
        player = std::make_unique<Player>(folder, QSize(800, 600));
        player->welcome().show();
        runner = std::make_unique<automation::ScriptRunner>(player->rt(), QString());
    }
    QString frame()
    {
        EXPECT_TRUE(runner->run({QStringLiteral("dump")}));
        const auto dumps = player->rt().log.ofType(QStringLiteral("dump"));
        return dumps.back()[QStringLiteral("game")][QStringLiteral("frame")].toString();
    }

    GameFolder folder;
    std::unique_ptr<Player> player;
    std::unique_ptr<automation::ScriptRunner> runner;
};

} // namespace

TEST_F(PlayerPause, ATimerFiresAfterItsOwnTimeOfPlayWhateverThePauseBetween)
{
    ASSERT_TRUE(runner->run({QStringLiteral("click frmWelcome.lblButton(0)"), QStringLiteral("wait 1000"), QStringLiteral("key Pause"),
                             QStringLiteral("wait 60000")}));
    EXPECT_TRUE(player->game().paused());
    EXPECT_EQ(frame(), QStringLiteral("Start"));
    // Other keys are the pause's while it lasts: S would open the save dialog.
    ASSERT_TRUE(runner->run({QStringLiteral("key S"), QStringLiteral("key Escape"), QStringLiteral("wait 999")}));
    EXPECT_FALSE(player->game().paused());
    EXPECT_TRUE(player->takeMessages().empty());
    EXPECT_EQ(frame(), QStringLiteral("Start"));
    ASSERT_TRUE(runner->run({QStringLiteral("wait 1")}));
    EXPECT_EQ(frame(), QStringLiteral("Next"));
}

TEST(MediaPause, MusicHeldGoesOnFromItsPlaceAndEndsThatMuchLater)
{
    QTemporaryDir dir;
    QFile tune(dir.filePath(QStringLiteral("tune.mid")));
    ASSERT_TRUE(tune.open(QIODevice::WriteOnly));
    // Four beats at 120 a minute: two seconds.
    tune.write(demo::MidiFile({60, 64, 67, 72}));
    tune.close();
    platform::VirtualClock clock;
    devices::MediaModule module;
    devices::AudioDevice audio(module, {.silent = true});
    base::EventLog log;
    platform::FileResolver files;
    devices::MediaCommands commands(clock, audio, files, log);
    ASSERT_EQ(commands.send(QStringLiteral("open %1 alias tune type sequencer").arg(tune.fileName())), 0);
    ASSERT_EQ(commands.send(QStringLiteral("play tune from 0")), 0);
    const auto status = [&](const char* what) {
        QString reply;
        commands.send(QStringLiteral("status tune %1").arg(QLatin1String(what)), &reply);
        return reply;
    };
    clock.advance(500);
    clock.hold(true);
    commands.hold(true);
    clock.advance(60000);
    EXPECT_EQ(status("position"), QStringLiteral("500"));
    EXPECT_EQ(status("mode"), QStringLiteral("playing"));
    clock.hold(false);
    commands.hold(false);
    clock.advance(1499);
    EXPECT_EQ(status("position"), QStringLiteral("1999"));
    EXPECT_EQ(status("mode"), QStringLiteral("playing"));
    clock.advance(1);
    EXPECT_EQ(status("mode"), QStringLiteral("stopped"));
}
