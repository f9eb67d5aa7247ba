#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testsupport {

// Runs Debian's ffmpeg with the arguments (quiet but for errors) to make a
// test's media file; true when it wrote it. What it said goes to errors.
bool RunFfmpeg(const QStringList& arguments, QString* errors = nullptr);

// A 440 Hz tone of the length, rate and channels, encoded as the arguments
// say (codec, container) into the file by ffmpeg; its bytes, or none (with
// a test failure) when ffmpeg could not.
QByteArray ToneByFfmpeg(const QString& file, int rate, int channels, double seconds, const QStringList& encoding);

} // namespace testsupport
