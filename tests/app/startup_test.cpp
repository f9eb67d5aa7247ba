#include "support/game_folder.h"
#include "support/player.h"

#include <gtest/gtest.h>

using testsupport::GameFolder;
using testsupport::Player;

namespace {

platform::Element& el(Player& p, const char* name)
{
    return *p.welcome().element(QString::fromLatin1(name));
}

} // namespace

TEST(StartUp, ASettingsFileOfElevenFieldsKeepsTheDefaultsOfTheLaterGroups)
{
    GameFolder folder;
    folder.general({.name = QStringLiteral("Short"), .groups = 1});
    Player player(folder);
    player.welcome();
    const run::Project& p = player.rt().project;
    EXPECT_EQ(p.GameName, QStringLiteral("Short"));
    EXPECT_EQ(p.DisplayChangeMode, 0);
    EXPECT_EQ(p.SchemeName, QString());
    EXPECT_EQ(p.InventorySpacingX, 10);
    EXPECT_EQ(p.InventoryMarginY, 10);
    EXPECT_TRUE(p.InventoryEnabled);
    EXPECT_TRUE(p.InventorySlideOpen);
    EXPECT_FALSE(p.InventorySlideClose);
    EXPECT_TRUE(p.InventoryHideEmptyTab);
    EXPECT_EQ(p.InventoryTabPicture, QStringLiteral("DEFAULT"));
    EXPECT_EQ(p.DefaultCursor, QStringLiteral("DEFAULT"));
    EXPECT_FALSE(el(player, "chkResolution").shown());
    EXPECT_FALSE(el(player, "lblResolution").shown());
    // Text buttons from the short set.
    EXPECT_EQ(el(player, "lblButton(0)").text(), QStringLiteral("Start"));
    EXPECT_EQ(el(player, "lblButton(1)").text(), QStringLiteral("Load"));
    EXPECT_EQ(el(player, "lblButton(2)").text(), QStringLiteral("Exit"));
    EXPECT_TRUE(player.boxes().empty());
}

TEST(StartUp, AllInformationLinesAndTheResolutionLineSetTheWindowHeight)
{
    GameFolder folder;
    folder.general();
    Player player(folder);
    player.welcome();
    EXPECT_EQ(player.welcome().height(), 3000 + 5 * 255 + 150);
    EXPECT_EQ(el(player, "txtVersion").top(), 3000);
    EXPECT_EQ(el(player, "txtAuthor").top(), 3255);
    EXPECT_EQ(el(player, "lblEmail").top(), 3510);
    EXPECT_EQ(el(player, "txtHomepage").top(), 3765);
    EXPECT_EQ(el(player, "lblResolution").top(), 4020);
    EXPECT_EQ(el(player, "chkResolution").top(), 4065);
    EXPECT_EQ(el(player, "chkResolution").value(), 1);
    EXPECT_EQ(el(player, "lblResolution").text(), QStringLiteral("Change display resolution to 640x480."));
    EXPECT_EQ(el(player, "lblAuthor").text(), QStringLiteral("Created By:"));
    EXPECT_EQ(player.welcome().caption(), QStringLiteral("Test Game"));
    // Centred on the 1024 x 768 screen.
    EXPECT_EQ(player.welcome().left(), 1024 * 15 / 2 - 4800 / 2);
    EXPECT_EQ(player.welcome().top(), 768 * 15 / 2 - (3000 + 5 * 255 + 150) / 2);
}

TEST(StartUp, EmptyInformationFieldsTakeNoRoom)
{
    GameFolder folder;
    folder.general({.name = QStringLiteral("Bare"), .version = QString(), .author = QString(), .email = QString(), .webSite = QString(), .groups = 1});
    Player player(folder);
    player.welcome();
    EXPECT_FALSE(el(player, "txtVersion").shown());
    EXPECT_FALSE(el(player, "txtAuthor").shown());
    EXPECT_FALSE(el(player, "lblHomepage").shown());
    EXPECT_EQ(player.welcome().height(), 3000 + 150);
}

TEST(StartUp, TheResolutionLineIsHiddenWhenTheDisplayIsAlreadyAtTheGamesResolution)
{
    GameFolder folder;
    folder.general();
    Player player(folder, QSize(640, 480));
    player.welcome();
    EXPECT_FALSE(el(player, "chkResolution").shown());
    EXPECT_EQ(player.welcome().height(), 3000 + 4 * 255 + 150);
}

TEST(StartUp, AMissingSettingsFileAsksAndCancelEndsTheProgram)
{
    GameFolder folder;
    folder.remove(QStringLiteral("Config/General"));
    Player player(folder);
    player.rt().scriptedDialogs()->queue(platform::MsgAnswer::Cancel);
    player.welcome();
    const auto boxes = player.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    const QString path = player.rt().project.ConfigPath + QStringLiteral("General");
    EXPECT_EQ(boxes[0].value(QStringLiteral("text")).toString(),
              QStringLiteral("The following file is missing: ") + path
                  + QStringLiteral("\r\n\r\nThis file may have been moved or removed from its original location. The program may not work properly until the missing file is placed back in its original location. Press 'Esc' and the click 'Exit' to quit.\r\n\r\nDo you want to continue anyway? (not recommended)"));
    EXPECT_EQ(boxes[0].value(QStringLiteral("icon")).toString(), QStringLiteral("exclamation"));
    EXPECT_EQ(boxes[0].value(QStringLiteral("buttons")).toString(), QStringLiteral("okcancel"));
    EXPECT_TRUE(player.rt().ended());
}

TEST(StartUp, AMissingSettingsFileAnsweredOkGoesOnWithTheDefaults)
{
    GameFolder folder;
    Player player(folder);
    player.welcome();
    EXPECT_FALSE(player.rt().ended());
    EXPECT_EQ(player.rt().project.GameName, QString());
    EXPECT_EQ(player.boxes().size(), 1u);
}

TEST(StartUp, ProjectFoldersEndInTheSeparator)
{
    GameFolder folder;
    folder.general();
    Player player(folder);
    player.welcome();
    const run::Project& p = player.rt().project;
    EXPECT_EQ(p.ProjectPath, folder.path() + QStringLiteral("/"));
    EXPECT_EQ(p.FramesPath, folder.path() + QStringLiteral("/Frames/"));
    EXPECT_EQ(p.ConfigPath, folder.path() + QStringLiteral("/Config/"));
    EXPECT_EQ(p.InventoryPath, folder.path() + QStringLiteral("/Inventory/"));
}

TEST(StartUp, TheStoredCheckBoxStateIsReadAndWrittenBackOnExit)
{
    GameFolder folder;
    folder.general();
    {
        Player player(folder);
        player.welcome();
        player.welcome().lblResolution_Click();
        EXPECT_EQ(el(player, "chkResolution").value(), 0);
        player.welcome().Form_KeyDown(Qt::Key_Escape);
        EXPECT_TRUE(player.rt().ended());
    }
    Player again(folder);
    again.welcome();
    EXPECT_EQ(el(again, "chkResolution").value(), 0);
    // Later tests of this process expect the default again.
    platform::SettingsStore().setValue(QStringLiteral("Games"), QStringLiteral("TESTKEY"), QStringLiteral("ChangeResolution"), QStringLiteral("1"));
}

TEST(StartUp, ABadStoredValueIsReportedOnceAndTheWindowStillOpens)
{
    GameFolder folder;
    folder.general();
    platform::SettingsStore().setValue(QStringLiteral("Games"), QStringLiteral("TESTKEY"), QStringLiteral("ChangeResolution"), QStringLiteral("yes"));
    Player player(folder);
    player.welcome();
    const auto texts = player.takeMessages();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], Player::errorReport(QStringLiteral(" Error loading project information.")));
    EXPECT_EQ(el(player, "chkResolution").value(), 1);
    platform::SettingsStore().setValue(QStringLiteral("Games"), QStringLiteral("TESTKEY"), QStringLiteral("ChangeResolution"), QStringLiteral("1"));
}

TEST(StartUp, HideLoadButtonMovesExitUp)
{
    GameFolder folder;
    folder.general({.hideLoadButton = true, .groups = 4});
    Player player(folder);
    player.welcome();
    EXPECT_TRUE(player.rt().project.HideLoadButton);
    EXPECT_FALSE(el(player, "lblButton(1)").shown());
    EXPECT_FALSE(el(player, "Img(1)").shown());
    EXPECT_EQ(el(player, "lblButton(2)").top(), 1560);
}

TEST(StartUp, StartOpensTheInitialFrameInTheGameWindow)
{
    GameFolder folder;
    folder.general();
    folder.frame(QStringLiteral("Start"));
    folder.variables({"a"});
    Player player(folder, QSize(640, 480));
    player.start();
    EXPECT_FALSE(player.welcome().window().isVisible());
    EXPECT_TRUE(player.game().visible());
    EXPECT_EQ(player.rt().frame.CurrentFrameName, QStringLiteral("Start"));
    EXPECT_EQ(player.game().Variables.Count(), 1);
    EXPECT_TRUE(player.boxes().empty());
}
