#include "support/settings_folder.h"

#include <QSettings>
#include <QStandardPaths>

namespace testsupport {

SettingsFolder::SettingsFolder()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

SettingsFolder::~SettingsFolder()
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

} // namespace testsupport
