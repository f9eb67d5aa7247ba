#pragma once

#include "base/code_page.h"
#include "base/event_log.h"
#include "base/notices.h"
#include "devices/volumes.h"
#include "formats/quoted_field_reader.h"
#include "pictures/picture_cache.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "platform/drives.h"
#include "platform/file_resolver.h"
#include "platform/scaling.h"
#include "platform/settings_store.h"
#include "run/frame_header.h"
#include "run/interface_strings.h"
#include "run/project.h"

#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace platform {
class InputObserver;
class ScriptedDialogs;
}

namespace run {

struct RuntimeOptions {
    // The folder the program sits in: the project folder.
    QString projectDir;
    // Scripted play: virtual clock, logged message boxes, no audio device.
    bool scripted = false;
    // Nobody sees the windows (a headless run): they paint only when a
    // shot or a test grabs their picture.
    bool unseen = false;
    QSize screen = QSize(1024, 768);
    QDateTime startTime = QDateTime::currentDateTime();
    QString codePage = QStringLiteral("windows-1252");
    // Offer the Debug menu of frames in the game window.
    bool debug = false;
    // A mount table (as /proc/mounts) that stands for this system's: the
    // drive letters of CD games are found in it.
    std::optional<QString> mountTable;
    // The General MIDI soundfont; empty: the one Debian installs.
    QString soundFont;
    // The game window starts full screen (else in a window).
    bool fullScreen = true;
    // No sound reaches a speaker; media keep their timings.
    bool mute = false;
    // The player's volumes to start with; the Options change them in play.
    devices::Volumes volumes;
    // How the game picture is scaled to a window of another size.
    platform::Scaling scaling = platform::Scaling::Smooth;
    // Where the media module is looked for; empty: beside the program, then
    // where an install puts it.
    QStringList mediaModuleFolders;
    // The bytes the decoded pictures may hold at once.
    qint64 pictureMemory = pictures::PictureCache::DefaultBudget;
    // Tab, Shift+Tab, Enter, Space and Escape play without a mouse, with a
    // ring over what they act on.
    bool focusRing = true;
    // Texts shown and objects in the ring are read aloud.
    bool speech = false;
    // Where the player's screenshots go; empty: nowhere (none is taken).
    QString screenshotFolder;
    // The player's own data folder ($XDG_DATA_HOME/loomplay): saved games of
    // games whose folder takes no new files go under it. Empty: none, and
    // such a game cannot be saved.
    QString playerDataFolder;
    // Whether a folder takes new files; empty: found by making one there.
    std::function<bool(const QString& folder)> folderWritable;
};

// What every part of a run shares, windows aside: the services (log,
// notices, files, code page, settings, display, drives, clock, message
// boxes) and the globals the runtime's procedures read and write (project,
// interface strings, frame header). The windows and media take it by
// reference; the game checker builds one with no window at all.
class Context {
public:
    explicit Context(const RuntimeOptions& options);
    virtual ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    const RuntimeOptions& options() const { return m_options; }

    base::EventLog log;
    base::Notices notices{log};
    platform::FileResolver files;
    base::CodePage codePage;
    platform::SettingsStore settings;
    platform::Display display;
    Project project;
    InterfaceStrings strings;
    FrameHeader frame;
    platform::Drives drives;
    // The player gave up choosing the CD drive.
    bool CDCancelled = false;

    platform::Clock& clock() { return *m_clock; }
    platform::Dialogs& dialogs() { return *m_dialogs; }
    // Non-null in scripted runs: the queue of answers for message boxes.
    platform::ScriptedDialogs* scriptedDialogs() { return m_scripted; }

    // Who watches the input that enters the windows and the answers of the
    // message boxes (a recorder of play-throughs); nullptr: nobody.
    platform::InputObserver* inputObserver() const { return m_inputObserver; }

    // Opens a quoted-field data file; throws base::Failure.
    formats::QuotedFieldReader openReader(const QString& path) const;
    // Loads a picture file (BMP, JPG, GIF, ICO, CUR, WMF, EMF); throws
    // base::Failure. Loading the same file again gives the same copy. A
    // metafile is drawn when its pixels are first asked for.
    base::LazyImage LoadPicture(const QString& path);

    platform::MsgAnswer msgBox(const QString& title, const QString& text, platform::MsgIcon icon,
                               platform::MsgButtons buttons = platform::MsgButtons::Ok,
                               std::optional<platform::MsgAnswer> defaultButton = std::nullopt);
    // The standard failure message; detail begins with a blank.
    void ShowErrorReport(const QString& detail);

    // Reads a text the game shows aloud, through what the runtime set
    // (nothing while none is set).
    void readAloud(const QString& text);
    void setReader(std::function<void(const QString&)> reader) { m_reader = std::move(reader); }

    // Asks the desktop to open a web or mail link; a scripted run only logs
    // it. Returns false when the desktop could not.
    bool shellOpen(const QString& url);

protected:
    // What the player changes in play (the Options), for the parts that
    // read the options later.
    RuntimeOptions& changeableOptions() { return m_options; }

    platform::InputObserver* m_inputObserver = nullptr;

private:
    RuntimeOptions m_options;
    std::function<void(const QString&)> m_reader;
    std::unique_ptr<platform::Clock> m_clock;
    std::unique_ptr<platform::Dialogs> m_dialogs;
    platform::ScriptedDialogs* m_scripted = nullptr;
    pictures::PictureCache m_pictures;
};

} // namespace run
