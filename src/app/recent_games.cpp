#include "app/recent_games.h"

#include "base/failure.h"

#include <QDir>

#include <algorithm>

namespace app {

namespace {

// The player's own settings: loomplay/loomplay.ini, the list in one section.
const QString kApplication = QStringLiteral("loomplay");
const QString kSection = QStringLiteral("RecentGames");
const QString kFolder = QStringLiteral("folder");
const QString kName = QStringLiteral("name");

QString field(const platform::SettingsStore::Record& record, const QString& key)
{
    const auto it = record.find(key);
    return it == record.end() ? QString() : it->second;
}

} // namespace

RecentGames::RecentGames()
{
    for (const platform::SettingsStore::Record& record : m_store.list(kApplication, kSection)) {
        if (int(m_games.size()) == kMost)
            break;
        const QString folder = field(record, kFolder);
        // A hand-edited file may hold blanks and repeats; the list never does.
        if (folder.isEmpty() || std::any_of(m_games.begin(), m_games.end(), [&](const Game& g) { return g.folder == key(folder); }))
            continue;
        m_games.push_back({key(folder), field(record, kName)});
    }
}

QString RecentGames::key(const QString& folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

void RecentGames::add(const QString& folder, const QString& name)
{
    const QString k = key(folder);
    std::erase_if(m_games, [&](const Game& g) { return g.folder == k; });
    m_games.insert(m_games.begin(), Game{k, name});
    if (int(m_games.size()) > kMost)
        m_games.resize(kMost);
    save();
}

void RecentGames::remove(const QString& folder)
{
    const QString k = key(folder);
    if (std::erase_if(m_games, [&](const Game& g) { return g.folder == k; }) > 0)
        save();
}

void RecentGames::save()
{
    std::vector<platform::SettingsStore::Record> records;
    for (const Game& game : m_games)
        records.push_back({{kFolder, game.folder}, {kName, game.name}});
    try {
        m_store.setList(kApplication, kSection, records);
    } catch (const base::Failure&) {
        throw base::Failure("Cannot write the list of games played before");
    }
}

} // namespace app
