// The program's own words in German and French: every text marked for
// translation in the sources has its translation in each catalogue, and the
// player's language chooses the catalogue.
#include "app/command_line.h"
#include "app/game_chooser.h"
#include "app/recent_games.h"
#include "app/translations.h"
#include "base/event_log.h"
#include "platform/scripted_dialogs.h"
#include "support/settings_folder.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <utility>

using app::Translations;

namespace {

// One catalogue's messages: (context, source) to translation; a message
// left unfinished or without a translation maps to the empty text.
using Catalogue = std::map<std::pair<QString, QString>, QString>;

Catalogue readCatalogue(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    Catalogue messages;
    QXmlStreamReader xml(&file);
    QString context, source, translation;
    bool finished = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
            finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            translation = xml.readElementText();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            messages[{context, source}] = finished ? translation : QString();
        }
    }
    EXPECT_FALSE(xml.hasError()) << path.toStdString() << ": " << xml.errorString().toStdString();
    return messages;
}

// The placeholders of a text, in order of their numbers.
QStringList placeholders(const QString& text)
{
    QStringList found;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("%\\d")).globalMatch(text))
        found << m.captured();
    found.sort();
    return found;
}

} // namespace

TEST(Translations, EveryTextOfTheProgramIsInEachCatalogueWithItsPlaceholders)
{
    // What the sources mark for translation now, as Qt's own tool finds it.
    QTemporaryDir dir;
    const QString marked = dir.filePath(QStringLiteral("marked.ts"));
    QProcess lupdate;
    lupdate.start(QStringLiteral(LOOM_LUPDATE), {QStringLiteral(LOOM_SOURCE_DIR "/src"), QStringLiteral("-ts"), marked, QStringLiteral("-locations"),
                                               QStringLiteral("none")});
    ASSERT_TRUE(lupdate.waitForFinished(60000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
    const Catalogue texts = readCatalogue(marked);
    ASSERT_GT(texts.size(), 80u);
    for (const QString& language : Translations::languages()) {
        const Catalogue catalogue = readCatalogue(QStringLiteral(LOOM_SOURCE_DIR "/translations/loomplay_%1.ts").arg(language));
        for (const auto& [key, unused] : texts) {
            const auto found = catalogue.find(key);
            const std::string where = language.toStdString() + " " + key.first.toStdString() + ": " + key.second.toStdString();
            ASSERT_NE(found, catalogue.end()) << "not in the catalogue: " << where;
            EXPECT_FALSE(found->second.isEmpty()) << "not translated: " << where;
            EXPECT_EQ(placeholders(found->second), placeholders(key.second)) << where;
            EXPECT_EQ(found->second.count(u'\n'), key.second.count(u'\n')) << where;
        }
    }
}

TEST(Translations, ThePlayersFirstLanguageWithACatalogueOrEnglishChooses)
{
    EXPECT_EQ(Translations(QLocale(QLocale::German, QLocale::Austria)).language(), QStringLiteral("de"));
    EXPECT_EQ(Translations(QLocale(QLocale::French, QLocale::Canada)).language(), QStringLiteral("fr"));
    EXPECT_EQ(Translations(QLocale(QLocale::Italian)).language(), QString());
    EXPECT_EQ(Translations(QLocale::c()).language(), QString());
    // A text the catalogue does not hold stays as written.
    const Translations german(QLocale(QLocale::German));
    EXPECT_EQ(german.text("app::CommandLine", "no such text"), QStringLiteral("no such text"));
    EXPECT_NE(german.text("engine::PlayerMenu", "Resume"), QStringLiteral("Resume"));
}

TEST(Translations, TheCommandLineSpeaksThePlayersLanguageBeforeAnyWindow)
{
    const Translations french(QLocale(QLocale::French));
    app::CommandLine line(&french);
    ASSERT_TRUE(line.parse({QStringLiteral("loomplay"), QStringLiteral("--windowed"), QStringLiteral("--fullscreen")}));
    EXPECT_FALSE(line.validate());
    EXPECT_EQ(line.error(), french.text("app::CommandLine", "--windowed and --fullscreen exclude each other"));
    EXPECT_NE(line.error(), QStringLiteral("--windowed and --fullscreen exclude each other"));
    EXPECT_TRUE(line.help().startsWith(french.text("app::CommandLine", "Usage: loomplay [OPTION]... [GAME_DIR]") + u'\n'));
    EXPECT_TRUE(line.help().contains(french.text("app::CommandLine", "Playing") + u':'));
    // A value the player got wrong is said in the language too.
    app::CommandLine screen(&french);
    ASSERT_TRUE(screen.parse({QStringLiteral("loomplay"), QStringLiteral("--scaling"), QStringLiteral("blurry")}));
    EXPECT_FALSE(screen.validate());
    EXPECT_EQ(screen.error(), french.text("app::CommandLine", "--scaling takes smooth, sharp or whole, not %1").arg(QStringLiteral("blurry")));
}

TEST(Translations, InstalledTheWindowsTakeTheLanguage)
{
    testsupport::SettingsFolder settings;
    Translations german(QLocale(QLocale::German));
    german.install();
    base::EventLog log;
    platform::ScriptedDialogs dialogs(log);
    app::RecentGames games;
    app::GameChooser chooser(games, dialogs, base::CodePage());
    const auto* open = static_cast<QPushButton*>(chooser.window().control(QStringLiteral("open")));
    EXPECT_EQ(open->text(), german.text("app::GameChooser", "Open a game folder..."));
    EXPECT_NE(open->text(), QStringLiteral("Open a game folder..."));
    const auto* heading = static_cast<QLabel*>(chooser.window().control(QStringLiteral("heading")));
    EXPECT_EQ(heading->text(), german.text("app::GameChooser", "No game played yet: open a game folder to play it."));
}
