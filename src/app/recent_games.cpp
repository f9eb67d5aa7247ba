#include "app/recent_games.h"

#include "base/failure.h"

#include <QDir>
#include <QSettings>

#include <algorithm>

namespace app {

namespace {

const QString kArray = QStringLiteral("RecentGames");

} // namespace

RecentGames::RecentGames()
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("loomplay"), QStringLiteral("loomplay"));
    const int size = settings.beginReadArray(kArray);
    for (int i = 0; i < size && int(m_games.size()) < kMost; ++i) {
        settings.setArrayIndex(i);
        const QString folder = settings.value(QStringLiteral("folder")).toString();
        // A hand-edited file may hold blanks and repeats; the list never does.
        if (folder.isEmpty() || std::any_of(m_games.begin(), m_games.end(), [&](const Game& g) { return g.folder == key(folder); }))
            continue;
        m_games.push_back({key(folder), settings.value(QStringLiteral("name")).toString()});
    }
    settings.endArray();
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

void RecentGames::save() const
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("loomplay"), QStringLiteral("loomplay"));
    settings.remove(kArray);
    settings.beginWriteArray(kArray, int(m_games.size()));
    for (int i = 0; i < int(m_games.size()); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QStringLiteral("folder"), m_games[std::size_t(i)].folder);
        settings.setValue(QStringLiteral("name"), m_games[std::size_t(i)].name);
    }
    settings.endArray();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw base::Failure("Cannot write the list of games played before");
}

} // namespace app
