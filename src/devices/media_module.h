#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>

namespace devices {

class MediaBackend;

// Loads the media module (`loomplay-media.so`, the sound output and video
// decoders over the media libraries) the first time something asks for it,
// so that a run that plays nothing pays nothing for those libraries. It is
// looked for in each folder given, in order: by default next to the program
// (the build tree), then where an install puts it. When it cannot be
// loaded, it says why once and media play silently; it is never unloaded,
// since what it made may live as long as the program.
class MediaModule {
public:
    static constexpr const char* FileName = "loomplay-media";

    explicit MediaModule(std::function<void(const QString&)> notice = {}, QStringList folders = ProgramFolders());
    ~MediaModule();
    MediaModule(const MediaModule&) = delete;
    MediaModule& operator=(const MediaModule&) = delete;

    // Next to the program, then the install's library folder for the
    // player relative to the program's folder.
    static QStringList ProgramFolders();

    // The back end, loading the module on the first call; null when it
    // cannot be loaded. Safe from any thread.
    MediaBackend* backend();
    // Loading was tried and failed.
    bool missing();
    // Why it could not be loaded; empty while it is loaded or not tried.
    QString error();

private:
    QString load();

    std::function<void(const QString&)> m_notice;
    QStringList m_folders;
    std::mutex m_mutex;
    bool m_tried = false;
    QString m_error;
    std::unique_ptr<MediaBackend> m_backend;
};

} // namespace devices
