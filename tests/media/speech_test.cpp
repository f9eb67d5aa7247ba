#include "support/game_folder.h"
#include "support/player.h"

#include "automation/script_runner.h"
#include "devices/media_module.h"
#include "media/speech.h"
#include "run/context.h"

#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

// Reading aloud, seen through the "speech" lines a scripted run writes for
// what a real one hands to the speaker.
class Speech : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder.general();
        folder.variables({"seen"});
        folder.frame(QStringLiteral("Start"));
        folder.write(QStringLiteral("Areas/Start/b.lbl"), {{"The tide\r\nis  out", 150, 600}});
        folder.write(QStringLiteral("Areas/Start/a.lbl"), {{"A lighthouse", 150, 150}});
        folder.write(QStringLiteral("Areas/Start/c.lbl"), {{"", 150, 900}});
        folder.picture(QStringLiteral("Areas/Rope.bmp"), 32, 32);
        folder.write(QStringLiteral("Areas/Rope.obj"), {{"Rope.bmp"}});
    }
    engine::Game& start(bool speech = true)
    {
        run::RuntimeOptions options = testsupport::ScriptedOptions(folder.path());
        options.speech = speech;
        player = std::make_unique<Player>(options);
        player->start();
        return player->game();
    }
    QStringList spoken()
    {
        QStringList texts;
        for (const QJsonObject& line : player->rt().log.ofType(QStringLiteral("speech")))
            texts << line.value(QStringLiteral("text")).toString();
        return texts;
    }

    GameFolder folder;
    std::unique_ptr<Player> player;
};

TEST_F(Speech, FrameTextsAreReadInTheirOrderWhenTheFrameOpens)
{
    start();
    EXPECT_EQ(spoken(), (QStringList{"A lighthouse", "The tide is out"}));
}

TEST_F(Speech, MessagesInTheStripAreReadAndMessageBoxesByTitleThenText)
{
    engine::Game& game = start();
    game.ShowTextMessage(QStringLiteral("A gull cries."), true);
    game.ShowTextMessage(QStringLiteral("The door is locked."), false);
    EXPECT_EQ(spoken().mid(2), (QStringList{"A gull cries.", "Test Game", "The door is locked."}));
}

TEST_F(Speech, TheObjectTheRingComesToIsReadByName)
{
    engine::Game& game = start();
    game.AddPickedObject(QStringLiteral("Rope"));
    automation::ScriptRunner runner(player->rt(), QString());
    ASSERT_TRUE(runner.run(QStringList{QStringLiteral("key Tab")}));
    EXPECT_EQ(spoken().mid(2), QStringList{"Rope"});
}

TEST_F(Speech, NothingIsReadUnlessAskedFor)
{
    engine::Game& game = start(false);
    game.ShowTextMessage(QStringLiteral("The door is locked."), false);
    EXPECT_TRUE(spoken().isEmpty());
}

TEST(SpeechWithoutModule, IsToldOnceAndPlayGoesOn)
{
    QTemporaryDir noModule;
    run::RuntimeOptions options;
    options.speech = true;
    run::Context rt(options);
    QStringList told;
    rt.notices.setSink([&told](const QString& line) { told << line; });
    devices::MediaModule module([&rt](const QString& text) { rt.notices.notice(text); }, {noModule.path()});
    media::Speech speech(rt, module);
    speech.say(QStringLiteral("One"));
    speech.say(QStringLiteral("Two"));
    EXPECT_EQ(told.filter(QStringLiteral("Nothing is read aloud")), QStringList{"loomplay: Nothing is read aloud: the media module cannot be loaded."});
}
