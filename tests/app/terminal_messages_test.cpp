#include "base/event_log.h"
#include "base/notices.h"
#include "demo/authoring.h"
#include "support/game_folder.h"
#include "support/player.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;

namespace {

// The lines a person would see on the terminal.
struct Terminal {
    QStringList lines;
    base::Notices::Sink sink()
    {
        return [this](const QString& line) { lines << line; };
    }
};

} // namespace

// Notices and details of a run whose terminal lines are kept.
class Notices : public ::testing::Test {
protected:
    void SetUp() override { notices.setSink(terminal.sink()); }

    base::EventLog log;
    base::Notices notices{log};
    Terminal terminal;
};

TEST_F(Notices, GoToTheTerminalOnceEachWithTheProgramsName)
{
    notices.notice(QStringLiteral("No audio device: the game plays silently."));
    notices.notice(QStringLiteral("The video a.avi is skipped: bad"));
    notices.notice(QStringLiteral("No audio device: the game plays silently."));
    EXPECT_EQ(terminal.lines, (QStringList{QStringLiteral("loomplay: No audio device: the game plays silently."),
                                           QStringLiteral("loomplay: The video a.avi is skipped: bad")}));
    EXPECT_TRUE(log.entries().empty());
}

TEST_F(Notices, AreLinesOfAScriptedRunsLogInstead)
{
    log.setEnabled(true);
    notices.notice(QStringLiteral("Sound plays on a silent output."));
    notices.notice(QStringLiteral("Sound plays on a silent output."));
    ASSERT_EQ(log.ofType(QStringLiteral("notice")).size(), 1u);
    EXPECT_EQ(log.ofType(QStringLiteral("notice"))[0].value(QStringLiteral("text")).toString(), QStringLiteral("Sound plays on a silent output."));
    EXPECT_TRUE(terminal.lines.isEmpty());
}

TEST_F(Notices, DetailsAreToldOnlyWhenVerboseAndEveryTime)
{
    notices.detail(QStringLiteral("opens the frame Start"));
    EXPECT_TRUE(terminal.lines.isEmpty());
    notices.setVerbose(true);
    notices.detail(QStringLiteral("opens the frame Start"));
    notices.detail(QStringLiteral("opens the frame Start"));
    EXPECT_EQ(terminal.lines, (QStringList{QStringLiteral("loomplay: opens the frame Start"), QStringLiteral("loomplay: opens the frame Start")}));
}

TEST(Verbose, TellsEachFrameOpenedAndEachMediaFilePlayed)
{
    GameFolder folder;
    folder.general();
    folder.variables({});
    // A frame with MIDI music.
    folder.frame(QStringLiteral("Start"), {0, "255", false, false, "tune.mid", false, 0, "", "", false});
    folder.writeBytes(QStringLiteral("Frames/tune.mid"), demo::MidiFile({60, 64}));
    testsupport::Player player(folder);
    Terminal terminal;
    player.rt().notices.setSink(terminal.sink());
    player.rt().notices.setVerbose(true);
    player.start();
    EXPECT_EQ(terminal.lines, (QStringList{QStringLiteral("loomplay: opens the frame Start"),
                                           QStringLiteral("loomplay: plays %1").arg(player.rt().project.FramesPath + QStringLiteral("tune.mid"))}));
}

TEST(Verbose, IsSilentUnlessAskedFor)
{
    GameFolder folder;
    folder.general();
    folder.variables({});
    folder.frame(QStringLiteral("Start"));
    testsupport::Player player(folder);
    Terminal terminal;
    player.rt().notices.setSink(terminal.sink());
    player.start();
    EXPECT_TRUE(terminal.lines.isEmpty());
}
