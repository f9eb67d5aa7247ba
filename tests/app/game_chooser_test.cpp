#include "app/game_chooser.h"
#include "app/recent_games.h"
#include "base/event_log.h"
#include "platform/scripted_dialogs.h"
#include "support/game_folder.h"
#include "support/player.h"
#include "support/settings_folder.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using app::GameChooser;
using app::RecentGames;
using testsupport::GameFolder;
using testsupport::GeneralSettings;

namespace {

class Chooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        log.setEnabled(true);
        GeneralSettings first;
        first.name = QStringLiteral("The Lighthouse");
        lighthouse.general(first);
        GeneralSettings second;
        second.name = QStringLiteral("Harbour Nights");
        harbour.general(second);
    }
    GameChooser& chooser()
    {
        if (!m_chooser) {
            m_list = std::make_unique<RecentGames>();
            m_chooser = std::make_unique<GameChooser>(*m_list, dialogs, base::CodePage(), demo);
            // Its buttons take clicks only on screen.
            m_chooser->window().show();
        }
        return *m_chooser;
    }
    QListWidget* list() { return static_cast<QListWidget*>(chooser().window().control(QStringLiteral("games"))); }
    QStringList lines()
    {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    // A key as a person presses it: to the control that has the focus.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        platform::FormWindow& w = chooser().window();
        QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, key, modifiers);
    }
    QString focused() { return chooser().window().focusWidget() ? chooser().window().focusWidget()->objectName() : QString(); }
    std::vector<QString> messages()
    {
        std::vector<QString> out;
        for (const QJsonObject& box : log.ofType(QStringLiteral("msgbox")))
            out.push_back(box.value(QStringLiteral("text")).toString());
        log.clear();
        return out;
    }
    static QString line(const QString& name, const GameFolder& folder)
    {
        return QStringLiteral("%1 (%2)").arg(name, QDir::toNativeSeparators(RecentGames::key(folder.path())));
    }

    testsupport::SettingsFolder settings;
    base::EventLog log;
    platform::ScriptedDialogs dialogs{log};
    GameFolder lighthouse;
    GameFolder harbour;
    // The demo game installed with the player; none unless a case says.
    QString demo;
    std::unique_ptr<RecentGames> m_list;
    std::unique_ptr<GameChooser> m_chooser;
};

} // namespace

TEST_F(Chooser, WithNoGamePlayedItOffersOnlyToOpenAFolder)
{
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(static_cast<QLabel*>(chooser().window().control(QStringLiteral("heading")))->text(),
              QStringLiteral("No game played yet: open a game folder to play it."));
    EXPECT_FALSE(chooser().window().click(QStringLiteral("play")));
    EXPECT_FALSE(chooser().window().click(QStringLiteral("remove")));
    EXPECT_TRUE(chooser().window().control(QStringLiteral("demo"))->isHidden());
}

TEST_F(Chooser, WithNoGamePlayedTheInstalledDemoIsOfferedAndReturnPlaysIt)
{
    demo = lighthouse.path();
    EXPECT_EQ(static_cast<QLabel*>(chooser().window().control(QStringLiteral("heading")))->text(),
              QStringLiteral("No game played yet: open a game folder, or play the demo game."));
    const auto* button = static_cast<QPushButton*>(chooser().window().control(QStringLiteral("demo")));
    EXPECT_FALSE(button->isHidden());
    EXPECT_EQ(button->text(), QStringLiteral("Play the demo game"));
    EXPECT_EQ(focused(), QStringLiteral("demo"));
    press(Qt::Key_Return);
    EXPECT_EQ(chooser().chosen(), RecentGames::key(lighthouse.path()));
    ASSERT_EQ(RecentGames().games().size(), 1u);
    EXPECT_EQ(RecentGames().games()[0], (RecentGames::Game{RecentGames::key(lighthouse.path()), QStringLiteral("The Lighthouse")}));
}

TEST_F(Chooser, TheDemoIsNotOfferedOnceAGameWasPlayed)
{
    demo = lighthouse.path();
    RecentGames().add(harbour.path(), QStringLiteral("Harbour Nights"));
    EXPECT_TRUE(chooser().window().control(QStringLiteral("demo"))->isHidden());
    EXPECT_EQ(static_cast<QLabel*>(chooser().window().control(QStringLiteral("heading")))->text(), QStringLiteral("Games played before:"));
}

TEST_F(Chooser, ListsTheGamesPlayedBeforeByNameAndFolderNewestFirst)
{
    RecentGames before;
    before.add(lighthouse.path(), QStringLiteral("The Lighthouse"));
    before.add(harbour.path(), QStringLiteral("Harbour Nights"));
    EXPECT_EQ(lines(), (QStringList{line(QStringLiteral("Harbour Nights"), harbour), line(QStringLiteral("The Lighthouse"), lighthouse)}));
    EXPECT_EQ(list()->currentRow(), 0);
}

TEST_F(Chooser, OpeningAGameFolderChoosesItAndPutsItFirstWithTheNameFromItsSettings)
{
    RecentGames().add(harbour.path(), QStringLiteral("Harbour Nights"));
    chooser().askFolder = [this] { return lighthouse.path(); };
    ASSERT_TRUE(chooser().window().click(QStringLiteral("open")));
    EXPECT_EQ(chooser().chosen(), RecentGames::key(lighthouse.path()));
    EXPECT_FALSE(chooser().window().loaded());
    EXPECT_TRUE(messages().empty());
    const RecentGames after;
    ASSERT_EQ(after.games().size(), 2u);
    EXPECT_EQ(after.games()[0], (RecentGames::Game{RecentGames::key(lighthouse.path()), QStringLiteral("The Lighthouse")}));
}

TEST_F(Chooser, AFolderWithoutSettingsIsRefusedNamingTheMissingFile)
{
    GameFolder notAGame;
    notAGame.variables({});
    chooser().askFolder = [&] { return notAGame.path(); };
    chooser().window().click(QStringLiteral("open"));
    EXPECT_EQ(messages(), (std::vector<QString>{QStringLiteral("No Config/General file in %1: it is not a Storyloom game folder.")
                                                    .arg(QDir::toNativeSeparators(notAGame.path()))}));
    EXPECT_FALSE(chooser().chosen());
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_TRUE(RecentGames().games().empty());
}

TEST_F(Chooser, AGameWhoseFolderIsGoneIsRefusedAndStaysListed)
{
    const QString gone = QDir(settings.path()).filePath(QStringLiteral("gone"));
    RecentGames().add(gone, QStringLiteral("Gone"));
    chooser().window().click(QStringLiteral("play"));
    EXPECT_EQ(messages(), (std::vector<QString>{QStringLiteral("The folder %1 does not exist.").arg(QDir::toNativeSeparators(gone))}));
    EXPECT_FALSE(chooser().chosen());
    EXPECT_EQ(lines().size(), 1);
}

TEST_F(Chooser, GivingUpTheFolderChooserChangesNothing)
{
    chooser().askFolder = [] { return QString(); };
    chooser().window().click(QStringLiteral("open"));
    EXPECT_FALSE(chooser().chosen());
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(chooser().window().loaded());
}

TEST_F(Chooser, PlayStartsTheSelectedGame)
{
    RecentGames before;
    before.add(lighthouse.path(), QStringLiteral("The Lighthouse"));
    before.add(harbour.path(), QStringLiteral("Harbour Nights"));
    ASSERT_TRUE(chooser().window().select(QStringLiteral("games"), line(QStringLiteral("The Lighthouse"), lighthouse)));
    chooser().window().click(QStringLiteral("play"));
    EXPECT_EQ(chooser().chosen(), RecentGames::key(lighthouse.path()));
    EXPECT_EQ(RecentGames().games()[0].folder, RecentGames::key(lighthouse.path()));
}

TEST_F(Chooser, ADoubleClickOnAGamePlaysIt)
{
    RecentGames().add(harbour.path(), QStringLiteral("Harbour Nights"));
    chooser().window().doubleClick(QStringLiteral("games"));
    EXPECT_EQ(chooser().chosen(), RecentGames::key(harbour.path()));
}

TEST_F(Chooser, RemoveTakesTheSelectedGameOffTheListAndKeepsTheRest)
{
    RecentGames before;
    before.add(lighthouse.path(), QStringLiteral("The Lighthouse"));
    before.add(harbour.path(), QStringLiteral("Harbour Nights"));
    chooser().window().select(QStringLiteral("games"), line(QStringLiteral("Harbour Nights"), harbour));
    ASSERT_TRUE(chooser().window().click(QStringLiteral("remove")));
    EXPECT_EQ(lines(), QStringList{line(QStringLiteral("The Lighthouse"), lighthouse)});
    EXPECT_EQ(list()->currentRow(), 0);
    ASSERT_EQ(RecentGames().games().size(), 1u);
    EXPECT_EQ(RecentGames().games()[0].folder, RecentGames::key(lighthouse.path()));
    // The game folder itself is left alone.
    EXPECT_TRUE(QDir(harbour.path()).exists(QStringLiteral("Config/General")));
    chooser().window().click(QStringLiteral("remove"));
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_FALSE(chooser().window().control(QStringLiteral("play"))->isEnabled());
}

TEST_F(Chooser, AGameWithoutANameIsListedUnderItsFolderName)
{
    RecentGames().add(harbour.path(), QString());
    EXPECT_EQ(lines(), QStringList{line(QDir(harbour.path()).dirName(), harbour)});
}

TEST_F(Chooser, ReturnPlaysTheSelectedGame)
{
    RecentGames before;
    before.add(lighthouse.path(), QStringLiteral("The Lighthouse"));
    before.add(harbour.path(), QStringLiteral("Harbour Nights"));
    ASSERT_TRUE(chooser().window().select(QStringLiteral("games"), line(QStringLiteral("The Lighthouse"), lighthouse)));
    press(Qt::Key_Return);
    EXPECT_EQ(chooser().chosen(), RecentGames::key(lighthouse.path()));
    EXPECT_FALSE(chooser().window().loaded());
}

TEST_F(Chooser, EscapeClosesTheChooserWithoutAGame)
{
    RecentGames().add(harbour.path(), QStringLiteral("Harbour Nights"));
    press(Qt::Key_Escape);
    EXPECT_FALSE(chooser().chosen());
    EXPECT_FALSE(chooser().window().loaded());
    EXPECT_FALSE(chooser().window().isVisible());
}

TEST_F(Chooser, TabGoesFromTheListThroughTheButtonsAndReturnPressesTheFocusedOne)
{
    RecentGames().add(harbour.path(), QStringLiteral("Harbour Nights"));
    QStringList order{focused()};
    for (int i = 0; i < 5; ++i) {
        press(Qt::Key_Tab);
        order << focused();
    }
    EXPECT_EQ(order, (QStringList{"games", "open", "remove", "options", "play", "games"}));
    press(Qt::Key_Tab);
    bool asked = false;
    chooser().askFolder = [&] {
        asked = true;
        return QString();
    };
    press(Qt::Key_Return);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(chooser().chosen());
}
