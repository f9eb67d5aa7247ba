// The player's options: kept for every game or for one, overridden by the
// command line, chosen in the Options window from the chooser or over a
// game, and acting at once on a game that plays.
#include "app/command_line.h"
#include "app/game_chooser.h"
#include "app/options_window.h"
#include "app/player_options.h"
#include "app/recent_games.h"
#include "automation/script_runner.h"
#include "base/event_log.h"
#include "engine/game.h"
#include "platform/scene_window.h"
#include "platform/scripted_dialogs.h"
#include "run/context.h"
#include "support/game_folder.h"
#include "support/player.h"
#include "support/settings_folder.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using app::OptionsWindow;
using app::PlayerOptions;
using platform::Scaling;

namespace {

class Options : public ::testing::Test {
protected:
    QString game(const char* name) const { return QDir(games.path()).filePath(QLatin1String(name)); }
    PlayerOptions stored(const char* name) const { return PlayerOptions::forGame(store, game(name)); }
    // The settings file as a person might have edited it.
    void writeSettings(const QString& text) const
    {
        QDir().mkpath(settings.filePath(QStringLiteral("loomplay")));
        QFile ini(settings.filePath(QStringLiteral("loomplay/loomplay.ini")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write(text.toUtf8());
    }

    testsupport::SettingsFolder settings;
    QTemporaryDir games;
    platform::SettingsStore store;
    base::EventLog log;
    platform::ScriptedDialogs dialogs{log};
};

PlayerOptions windowSharpAndQuiet()
{
    PlayerOptions o;
    o.fullScreen = false;
    o.scaling = Scaling::Sharp;
    o.volumes.music = 40;
    o.volumes.mute = true;
    o.codePage = QStringLiteral("windows-1251");
    return o;
}

} // namespace

TEST_F(Options, AGameKeepsItsOwnAndEveryOtherFollowsTheDefaults)
{
    EXPECT_EQ(stored("harbour"), PlayerOptions());
    const PlayerOptions defaults = windowSharpAndQuiet();
    defaults.saveAsDefaults(store);
    PlayerOptions own;
    own.scaling = Scaling::WholeSteps;
    own.volumes.sounds = 10;
    own.focusRing = false;
    own.saveForGame(store, game("lighthouse"));

    EXPECT_EQ(stored("lighthouse"), own);
    EXPECT_TRUE(PlayerOptions::hasOwn(store, game("lighthouse") + QStringLiteral("/")));
    EXPECT_EQ(stored("harbour"), defaults);
    EXPECT_FALSE(PlayerOptions::hasOwn(store, game("harbour")));
    // Saved again, a game's own replace what it had.
    own.volumes.sounds = 70;
    own.saveForGame(store, game("lighthouse"));
    EXPECT_EQ(stored("lighthouse").volumes.sounds, 70);

    PlayerOptions::forgetGame(store, game("lighthouse"));
    EXPECT_EQ(stored("lighthouse"), defaults);
}

TEST_F(Options, ValuesAPersonCouldNotHaveChosenAreLeftAtTheProgramsOwn)
{
    writeSettings(QStringLiteral("[Options]\n"
                                 "display=sideways\nscaling=blurry\nmaster%20volume=300\nmusic%20volume=-1\nsounds%20volume=55\n"
                                 "mute=perhaps\nspeech=true\ncode%20page=\n"));
    PlayerOptions expected;
    expected.volumes.sounds = 55;
    expected.speech = true;
    EXPECT_EQ(PlayerOptions::defaults(store), expected);
}

TEST_F(Options, WhatTheCommandLineSaysWinsOverWhatIsKept)
{
    windowSharpAndQuiet().saveAsDefaults(store);
    app::CommandLine line;
    ASSERT_TRUE(line.parse({QStringLiteral("loomplay"), QStringLiteral("--fullscreen"), QStringLiteral("--scaling"), QStringLiteral("whole"),
                            QStringLiteral("--codepage"), QStringLiteral("Shift_JIS")}));
    ASSERT_TRUE(line.validate());
    run::RuntimeOptions options = line.choices().options;
    stored("harbour").applyTo(options, [&line](const QString& option) { return line.isSet(option); });
    EXPECT_TRUE(options.fullScreen);
    EXPECT_EQ(options.scaling, Scaling::WholeSteps);
    EXPECT_EQ(options.codePage, QStringLiteral("Shift_JIS"));
    // What it leaves open is the player's.
    EXPECT_EQ(options.volumes.music, 40);
    EXPECT_TRUE(options.volumes.mute);

    app::CommandLine plain;
    ASSERT_TRUE(plain.parse({QStringLiteral("loomplay")}));
    ASSERT_TRUE(plain.validate());
    options = plain.choices().options;
    stored("harbour").applyTo(options, [&plain](const QString& option) { return plain.isSet(option); });
    EXPECT_FALSE(options.fullScreen);
    EXPECT_EQ(options.scaling, Scaling::Sharp);
    EXPECT_EQ(options.codePage, QStringLiteral("windows-1251"));

    app::CommandLine wrong;
    ASSERT_TRUE(wrong.parse({QStringLiteral("loomplay"), QStringLiteral("--scaling"), QStringLiteral("blurry")}));
    EXPECT_FALSE(wrong.validate());
    EXPECT_TRUE(wrong.error().contains(QStringLiteral("--scaling takes smooth, sharp or whole, not blurry"))) << wrong.error().toStdString();
}

TEST_F(Options, TheWindowKeepsForTheGameAloneOrForEveryGame)
{
    windowSharpAndQuiet().saveAsDefaults(store);
    {
        OptionsWindow window(store, dialogs, game("lighthouse"), QStringLiteral("The Lighthouse"));
        platform::FormWindow& w = window.window();
        // Its buttons take clicks only on screen.
        w.show();
        // A game without its own shows the defaults, to be kept for it alone.
        EXPECT_TRUE(window.forThisGame());
        EXPECT_EQ(window.shown(), windowSharpAndQuiet());
        std::optional<PlayerOptions> kept;
        window.onClosed = [&kept](const std::optional<PlayerOptions>& k) { kept = k; };
        EXPECT_TRUE(w.select(QStringLiteral("Scaling"), QStringLiteral("Whole-number steps")));
        EXPECT_TRUE(w.typeText(QStringLiteral("MusicVolume"), QStringLiteral("25")));
        EXPECT_FALSE(w.typeText(QStringLiteral("MusicVolume"), QStringLiteral("250")));
        EXPECT_TRUE(w.click(QStringLiteral("Mute")));
        window.accept();
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->scaling, Scaling::WholeSteps);
        EXPECT_EQ(kept->volumes.music, 25);
        EXPECT_FALSE(kept->volumes.mute);
        EXPECT_FALSE(w.loaded());
    }
    EXPECT_EQ(stored("lighthouse").scaling, Scaling::WholeSteps);
    EXPECT_EQ(stored("harbour"), windowSharpAndQuiet());

    // Kept for every game, the game's own give way to them.
    OptionsWindow window(store, dialogs, game("lighthouse"), QStringLiteral("The Lighthouse"));
    EXPECT_EQ(window.shown().scaling, Scaling::WholeSteps);
    ASSERT_TRUE(window.window().select(QStringLiteral("For"), QStringLiteral("All games")));
    EXPECT_EQ(window.shown(), windowSharpAndQuiet());
    window.window().typeText(QStringLiteral("VideoVolume"), QStringLiteral("5"));
    window.accept();
    EXPECT_FALSE(PlayerOptions::hasOwn(store, game("lighthouse")));
    EXPECT_EQ(stored("lighthouse").volumes.video, 5);
    EXPECT_EQ(stored("harbour").volumes.video, 5);
}

TEST_F(Options, WhatAGameCouldNotStartWithIsSaidAndNothingIsKept)
{
    log.setEnabled(true);
    OptionsWindow window(store, dialogs);
    platform::FormWindow& w = window.window();
    // Without a game there are the defaults alone.
    EXPECT_FALSE(window.forThisGame());
    bool closed = false;
    window.onClosed = [&closed](const std::optional<PlayerOptions>&) { closed = true; };
    w.typeText(QStringLiteral("CodePage"), QStringLiteral("klingon"));
    window.accept();
    w.typeText(QStringLiteral("CodePage"), QStringLiteral("windows-1250"));
    w.typeText(QStringLiteral("SoundFont"), game("missing.sf2"));
    window.accept();
    const std::vector<QJsonObject> boxes = log.ofType(QStringLiteral("msgbox"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0][QStringLiteral("text")].toString(), QStringLiteral("Unknown code page 'klingon'."));
    EXPECT_EQ(boxes[1][QStringLiteral("text")].toString(), QStringLiteral("The soundfont %1 does not exist.").arg(game("missing.sf2")));
    EXPECT_FALSE(closed);
    EXPECT_EQ(PlayerOptions::defaults(store), PlayerOptions());

    // Restore defaults shows the program's own; Cancel keeps nothing.
    window.restoreDefaults();
    EXPECT_EQ(window.shown(), PlayerOptions());
    window.cancel();
    EXPECT_TRUE(closed);
}

TEST_F(Options, TheChoosersOptionsAreTheChosenGames)
{
    testsupport::GameFolder lighthouse;
    testsupport::GeneralSettings general;
    general.name = QStringLiteral("The Lighthouse");
    lighthouse.general(general);
    app::RecentGames recent;
    recent.add(lighthouse.path(), general.name);
    app::GameChooser chooser(recent, dialogs, base::CodePage());
    chooser.showsModally = false;
    chooser.window().show();
    ASSERT_TRUE(chooser.window().click(QStringLiteral("options")));
    ASSERT_NE(chooser.options(), nullptr);
    EXPECT_TRUE(chooser.options()->forThisGame());
    const auto* scope = chooser.options()->window().control(QStringLiteral("For"));
    ASSERT_NE(scope, nullptr);
    chooser.options()->window().select(QStringLiteral("Display"), QStringLiteral("Window"));
    chooser.options()->accept();
    EXPECT_FALSE(PlayerOptions::forGame(store, lighthouse.path()).fullScreen);
}

namespace {

// A game on screen whose player opens the Options from the player's menu.
class OptionsInPlay : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({});
        folder.frame(QStringLiteral("Start"), {0, "255", false, false, "", true, 2, "Next", "", false});
        // One area for the focus ring to come to.
        folder.picture(QStringLiteral("Areas/door.bmp"), 16, 16, Qt::blue);
        folder.write(QStringLiteral("Frames/Start.lks"), {{1}});
        folder.area(QStringLiteral("Start"), 1, 300, 450, 600, 600, QStringLiteral("door.bmp"));
        folder.frame(QStringLiteral("Next"));
        player = std::make_unique<testsupport::Player>(testsupport::ScriptedOptions(folder.path(), QSize(800, 600)));
        player->welcome().show();
        runner = std::make_unique<automation::ScriptRunner>(player->rt(), QString());
        ASSERT_TRUE(runner->run({QStringLiteral("click frmWelcome.lblButton(0)"), QStringLiteral("wait 1000")}));
    }
    std::string errors() const
    {
        std::string all;
        for (const QJsonObject& e : player->rt().log.ofType(QStringLiteral("error")))
            all += e[QStringLiteral("text")].toString().toStdString() + "\n";
        return all;
    }
    QJsonObject dump()
    {
        EXPECT_TRUE(runner->run({QStringLiteral("dump")}));
        return player->rt().log.ofType(QStringLiteral("dump")).back();
    }

    testsupport::SettingsFolder settings;
    testsupport::GameFolder folder;
    std::unique_ptr<testsupport::Player> player;
    std::unique_ptr<automation::ScriptRunner> runner;
};

} // namespace

TEST_F(OptionsInPlay, TheGameHoldsWhileTheyAreOpenAndWhatOkKeepsActsAtOnce)
{
    ASSERT_TRUE(runner->run({QStringLiteral("key F10"), QStringLiteral("click PlayerMenu.Options"), QStringLiteral("wait 60000")}));
    EXPECT_TRUE(player->game().paused());
    EXPECT_EQ(dump()[QStringLiteral("game")][QStringLiteral("frame")].toString(), QStringLiteral("Start"));
    ASSERT_TRUE(runner->run({QStringLiteral("select Options.Scaling Sharp"), QStringLiteral("type Options.MusicVolume 30"),
                             QStringLiteral("type Options.SoundsVolume 60"), QStringLiteral("click Options.OK")}))
        << errors();
    EXPECT_FALSE(player->game().paused());
    const QJsonObject state = dump();
    EXPECT_EQ(state[QStringLiteral("display")][QStringLiteral("scaling")].toString(), QStringLiteral("sharp"));
    const QJsonObject volumes = state[QStringLiteral("media")][QStringLiteral("volumes")].toObject();
    EXPECT_EQ(volumes[QStringLiteral("music")].toInt(), 30);
    EXPECT_EQ(volumes[QStringLiteral("sounds")].toInt(), 60);
    EXPECT_EQ(player->game().window().scaling(), Scaling::Sharp);
    // Kept for this game, for the next time it starts.
    EXPECT_EQ(PlayerOptions::forGame(platform::SettingsStore(), folder.path()).volumes.music, 30);
    // The timer goes on where it was held: a second left.
    ASSERT_TRUE(runner->run({QStringLiteral("wait 999")}));
    EXPECT_EQ(dump()[QStringLiteral("game")][QStringLiteral("frame")].toString(), QStringLiteral("Start"));
    ASSERT_TRUE(runner->run({QStringLiteral("wait 1")}));
    EXPECT_EQ(dump()[QStringLiteral("game")][QStringLiteral("frame")].toString(), QStringLiteral("Next"));
}

TEST_F(OptionsInPlay, EscapeClosesThemKeepingNothing)
{
    ASSERT_TRUE(runner->run({QStringLiteral("key F10"), QStringLiteral("click PlayerMenu.Options"), QStringLiteral("type Options.MusicVolume 30"),
                             QStringLiteral("key Escape")}));
    EXPECT_FALSE(player->game().paused());
    EXPECT_EQ(dump()[QStringLiteral("media")][QStringLiteral("volumes")][QStringLiteral("music")].toInt(), 100);
    EXPECT_FALSE(PlayerOptions::hasOwn(platform::SettingsStore(), folder.path()));
}

TEST_F(OptionsInPlay, SpeechAndTheFocusRingChangeAtOnce)
{
    ASSERT_TRUE(runner->run({QStringLiteral("key Tab")}));
    EXPECT_FALSE(player->game().keyboardFocus().focused().isEmpty());
    ASSERT_TRUE(runner->run({QStringLiteral("key F10"), QStringLiteral("click PlayerMenu.Options"), QStringLiteral("click Options.Speech"),
                             QStringLiteral("click Options.FocusRing"), QStringLiteral("click Options.OK")}))
        << errors();
    EXPECT_TRUE(player->rt().options().speech);
    // The ring went with the option, and Tab no longer brings it back.
    EXPECT_TRUE(player->game().keyboardFocus().focused().isEmpty());
    ASSERT_TRUE(runner->run({QStringLiteral("key Tab")}));
    EXPECT_TRUE(player->game().keyboardFocus().focused().isEmpty());
    const PlayerOptions kept = PlayerOptions::forGame(platform::SettingsStore(), folder.path());
    EXPECT_TRUE(kept.speech);
    EXPECT_FALSE(kept.focusRing);
}
