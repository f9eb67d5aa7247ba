#include "platform/settings_store.h"

#include "base/failure.h"

#include <QSettings>

namespace platform {

namespace {

// Sections are project keys chosen by game authors; QSettings treats '/' and
// '\' as group separators, which a key must not turn into nested groups.
QString keyPath(const QString& section, const QString& key)
{
    QString s = section;
    s.replace(u'/', u'_').replace(u'\\', u'_');
    if (s.isEmpty())
        s = QStringLiteral("_");
    return s + u'/' + key;
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

} // namespace platform
