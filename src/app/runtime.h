#pragma once

#include "run/context.h"

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

namespace app {

class FrmRunFromCD;
class OptionsWindow;
struct PlayerOptions;
class FrmWelcome;

// The application object and composition root: the context of a run, the
// media and the windows, each window built on first use as the runtime
// loaded its forms. A test builds a fresh one for every case.
class Runtime : public run::Context {
public:
    explicit Runtime(const run::RuntimeOptions& options);
    ~Runtime() override;

    // Sound, music and video.
    media::Media& media() { return *m_media; }

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

    // The player's Options for this game, over the game window; the game
    // stays held until it closes, then closed runs. What OK keeps acts at
    // once where it can (the display, the scaling, the volumes).
    void showOptions(std::function<void()> closed);
    OptionsWindow* optionsIfLoaded();
    // Puts the player's options into this run: at once for what plays.
    void applyOptions(const PlayerOptions& options);

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
    // Told each frame the game window opens, once it is built or has
    // failed: what a frame is made of changes with it.
    std::function<void(const QString& frame)> onFrameOpened;

    // What the program does once this game has ended: as its start says
    // (the game chooser again when a person chose the game there), or what
    // the player's menu asked for.
    enum class AfterEnd { AsStarted, ChooseAGame, Quit };
    void setAfterEnd(AfterEnd after) { m_afterEnd = after; }
    AfterEnd afterEnd() const { return m_afterEnd; }

private:
    // A window the runtime has just made: watched as the others, and
    // without paints in a run nobody sees.
    template <typename Window>
    void prepare(Window& window);

    std::unique_ptr<media::Media> m_media;
    std::unique_ptr<FrmWelcome> m_welcome;
    std::unique_ptr<engine::Game> m_game;
    std::unique_ptr<saves::FrmSaveGame> m_saveGame;
    std::unique_ptr<FrmRunFromCD> m_runFromCd;
    std::unique_ptr<saves::FrmLoadGame> m_loadGame;
    std::unique_ptr<OptionsWindow> m_optionsWindow;
    bool m_ended = false;
    AfterEnd m_afterEnd = AfterEnd::AsStarted;
};

} // namespace app
