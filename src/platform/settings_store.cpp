#include "platform/settings_store.h"

#include "base/failure.h"

#include <QSettings>

#include <algorithm>

namespace platform {

namespace {

// Sections are project keys chosen by game authors; QSettings treats '/' and
// '\' as group separators, which a key must not turn into nested groups.
QString sectionName(const QString& section)
{
    QString s = section;
    s.replace(u'/', u'_').replace(u'\\', u'_');
    if (s.isEmpty())
        s = QStringLiteral("_");
    return s;
}

QString keyPath(const QString& section, const QString& key)
{
    return sectionName(section) + u'/' + key;
}

} // namespace

std::optional<QString> SettingsStore::value(const QString& application, const QString& section, const QString& key) const
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("loomplay"), application);
    if (settings.status() != QSettings::NoError)
        throw base::Failure("Cannot read the settings store");
    const QVariant v = settings.value(keyPath(section, key));
    if (!v.isValid())
        return std::nullopt;
    return v.toString();
}

void SettingsStore::setValue(const QString& application, const QString& section, const QString& key, const QString& value)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("loomplay"), application);
    settings.setValue(keyPath(section, key), value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw base::Failure("Cannot write the settings store");
}

std::vector<SettingsStore::Record> SettingsStore::list(const QString& application, const QString& section) const
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("loomplay"), application);
    const QString name = sectionName(section);
    // A hand-edited size may claim more entries than the file holds.
    settings.beginGroup(name);
    int last = 0;
    for (const QString& index : settings.childGroups())
        last = std::max(last, index.toInt());
    settings.endGroup();
    std::vector<Record> records;
    const int size = std::min(settings.beginReadArray(name), last);
    for (int i = 0; i < size; ++i) {
        settings.setArrayIndex(i);
        Record& record = records.emplace_back();
        for (const QString& key : settings.childKeys())
            record[key] = settings.value(key).toString();
    }
    settings.endArray();
    return records;
}

void SettingsStore::setList(const QString& application, const QString& section, const std::vector<Record>& records)
{
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("loomplay"), application);
    const QString name = sectionName(section);
    settings.remove(name);
    settings.beginWriteArray(name, int(records.size()));
    for (int i = 0; i < int(records.size()); ++i) {
        settings.setArrayIndex(i);
        for (const auto& [key, value] : records[std::size_t(i)])
            settings.setValue(key, value);
    }
    settings.endArray();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw base::Failure("Cannot write the settings store");
}

} // namespace platform
