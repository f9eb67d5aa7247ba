#pragma once

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace platform {

// The per-user settings store, addressed by application, section and key.
// Kept in the user's configuration folder (XDG_CONFIG_HOME), one INI file per
// application, so scripted runs and tests can point it at a folder of their own.
class SettingsStore {
public:
    // One entry of a list: its fields by key.
    using Record = std::map<QString, QString>;

    // Throws Failure when the store cannot be read.
    std::optional<QString> value(const QString& application, const QString& section, const QString& key) const;
    // Throws Failure when the store cannot be written.
    void setValue(const QString& application, const QString& section, const QString& key, const QString& value);

    // The entries of the list a section holds, in order (keys "1\key",
    // "2\key" … and "size", as QSettings keeps arrays). A store that cannot
    // be read, or only in part, gives what could be read of it.
    std::vector<Record> list(const QString& application, const QString& section) const;
    // Replaces the list a section holds. Throws Failure when the store
    // cannot be written.
    void setList(const QString& application, const QString& section, const std::vector<Record>& records);
};

} // namespace platform
