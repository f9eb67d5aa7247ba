#pragma once

#include <QString>

#include <optional>

namespace platform {

// The per-user settings store, addressed by application, section and key.
// Kept in the user's configuration folder (XDG_CONFIG_HOME), one INI file per
// application, so scripted runs and tests can point it at a folder of their own.
class SettingsStore {
public:
    // Throws Failure when the store cannot be read.
    std::optional<QString> value(const QString& application, const QString& section, const QString& key) const;
    // Throws Failure when the store cannot be written.
    void setValue(const QString& application, const QString& section, const QString& key, const QString& value);
};

} // namespace platform
