#pragma once

#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// The per-user settings of a test case, in a temporary folder of its own
// while it lives (QSettings' user folder, so the settings store and
// everything kept through it write there); the usual folder again after.
class SettingsFolder {
public:
    SettingsFolder();
    ~SettingsFolder();
    SettingsFolder(const SettingsFolder&) = delete;
    SettingsFolder& operator=(const SettingsFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }

private:
    QTemporaryDir m_dir;
};

} // namespace testsupport
