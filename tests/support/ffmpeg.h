#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// Runs Debian's ffmpeg with the arguments (quiet but for errors) to make a
// test's media file; true when it wrote it. What it said goes to errors.
bool RunFfmpeg(const QStringList& arguments, QString* errors = nullptr);

} // namespace testsupport
