#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>

namespace engine {

// The pictures of the game a player takes: PNG files at the game's own size,
// named after the game and the moment, in a folder of the player's.
class Screenshots {
public:
    explicit Screenshots(QString folder) : m_folder(std::move(folder)) {}

    // Writes the picture as "GAME NAME YYYY-MM-DD HH-MM-SS.png" (a number
    // after it when that name is taken) and gives the file's path; throws
    // base::Failure when it cannot be written. A file is either written
    // whole or not at all.
    QString save(const QImage& picture, const QString& gameName, const QDateTime& at) const;

private:
    QString m_folder;
};

} // namespace engine
