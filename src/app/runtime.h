#pragma once

#include "app/interface_strings.h"
#include "app/project.h"
#include "base/code_page.h"
#include "base/event_log.h"
#include "base/notices.h"
#include "engine/frame_header.h"
#include "formats/quoted_field_reader.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/display.h"
#include "platform/drives.h"
#include "platform/file_resolver.h"
#include "platform/settings_store.h"

#include <QDateTime>
#include <QImage>

#include <functional>
#include <memory>

namespace engine {
class Game;
}
namespace media {
class Media;
}
namespace saves {
class FrmLoadGame;
class FrmSaveGame;
}
namespace platform {
class InputObserver;
class ScriptedDialogs;
}

namespace app {

class FrmRunFromCD;
class FrmWelcome;

struct RuntimeOptions {
    // The folder the program sits in: the project folder.
    QString projectDir;
    // Scripted play: virtual clock, logged message boxes, no audio device.
    bool scripted = false;
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
};

// The application object: the services the runtime's procedures use, the
// shared globals of a run (project, interface strings, frame header, media)
// and the windows. A test builds a fresh one for every case.
class Runtime {
public:
    explicit Runtime(const RuntimeOptions& options);
    ~Runtime();
    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

    const RuntimeOptions& options() const { return m_options; }

    base::EventLog log;
    base::Notices notices{log};
    platform::FileResolver files;
    base::CodePage codePage;
    platform::SettingsStore settings;
    platform::Display display;
    Project project;
    InterfaceStrings strings;
    engine::FrameHeader frame;
    platform::Drives drives;
    // The player gave up choosing the CD drive.
    bool CDCancelled = false;

    platform::Clock& clock() { return *m_clock; }
    // Sound, music and video.
    media::Media& media() { return *m_media; }
    platform::Dialogs& dialogs() { return *m_dialogs; }
    // Non-null in scripted runs: the queue of answers for message boxes.
    platform::ScriptedDialogs* scriptedDialogs() { return m_scripted; }

    // The windows, loaded on first use like the runtime's forms.
    FrmWelcome& frmWelcome();
    engine::Game& game();
    FrmRunFromCD& frmRunFromCD();
    FrmRunFromCD* runFromCdIfLoaded();
    saves::FrmSaveGame& frmSaveGame();
    saves::FrmLoadGame& frmLoadGame();
    FrmWelcome* welcomeIfLoaded() { return m_welcome.get(); }
    engine::Game* gameIfLoaded() { return m_game.get(); }
    saves::FrmSaveGame* saveGameIfLoaded();
    saves::FrmLoadGame* loadGameIfLoaded();

    // Who watches the input that enters the windows and the answers of the
    // message boxes (a recorder of play-throughs); nullptr: nobody. Set it
    // before the first window loads.
    void setInputObserver(platform::InputObserver* observer);

    // Ends the program at once with every window.
    void EndProgram();
    // Ends the program as a person's Exit would, for a request from outside
    // the game (a termination signal): a game on screen is closed first, so
    // its media stop and the display is restored.
    void EndFromOutside();
    bool ended() const { return m_ended; }
    std::function<void()> onEnded;

    // Opens a quoted-field data file; throws base::Failure.
    formats::QuotedFieldReader openReader(const QString& path) const;
    // Loads a picture file (BMP, JPG, GIF, ICO, CUR); throws base::Failure.
    QImage LoadPicture(const QString& path) const;

    platform::MsgAnswer msgBox(const QString& title, const QString& text, platform::MsgIcon icon,
                               platform::MsgButtons buttons = platform::MsgButtons::Ok,
                               std::optional<platform::MsgAnswer> defaultButton = std::nullopt);
    // The standard failure message; detail begins with a blank.
    void ShowErrorReport(const QString& detail);

    // Asks the desktop to open a web or mail link; a scripted run only logs
    // it. Returns false when the desktop could not.
    bool shellOpen(const QString& url);

private:
    RuntimeOptions m_options;
    std::unique_ptr<platform::Clock> m_clock;
    std::unique_ptr<platform::Dialogs> m_dialogs;
    platform::ScriptedDialogs* m_scripted = nullptr;
    platform::InputObserver* m_inputObserver = nullptr;
    std::unique_ptr<media::Media> m_media;
    std::unique_ptr<FrmWelcome> m_welcome;
    std::unique_ptr<engine::Game> m_game;
    std::unique_ptr<saves::FrmSaveGame> m_saveGame;
    std::unique_ptr<FrmRunFromCD> m_runFromCd;
    std::unique_ptr<saves::FrmLoadGame> m_loadGame;
    bool m_ended = false;
};

} // namespace app
