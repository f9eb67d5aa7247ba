#include "app/game_folders.h"

#include "app/translations.h"
#include "base/failure.h"
#include "formats/quoted_field_reader.h"
#include "platform/file_resolver.h"

#include <QDir>
#include <QFileInfo>

namespace app {

namespace {

QString settingsPath(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("Config/General"));
}

} // namespace

QString WhyNotAGame(const QString& folder, const Translations* words)
{
    const auto say = [words](const char* source) { return Translations::say(words, "app::GameFolders", source); };
    const QString shown = QDir::toNativeSeparators(folder);
    const QFileInfo info(folder);
    if (!info.exists())
        return say(QT_TRANSLATE_NOOP("app::GameFolders", "The folder %1 does not exist.")).arg(shown);
    if (!info.isDir())
        return say(QT_TRANSLATE_NOOP("app::GameFolders", "%1 is a file, not a game folder.")).arg(shown);
    if (!platform::FileResolver().fileExists(settingsPath(folder)))
        return say(QT_TRANSLATE_NOOP("app::GameFolders", "No Config/General file in %1: it is not a Storyloom game folder.")).arg(shown);
    return {};
}

QString ReadGameName(const QString& folder, const base::CodePage& codePage)
{
    try {
        formats::QuotedFieldReader reader(platform::FileResolver().readAll(settingsPath(folder), platform::FileResolver::kRecordFileLimit), codePage);
        reader.skip();
        reader.skip();
        return reader.readString();
    } catch (const base::Failure&) {
        return {};
    }
}

} // namespace app
