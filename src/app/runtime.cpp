#include "app/runtime.h"

#include "app/frm_run_from_cd.h"
#include "app/frm_welcome.h"
#include "app/options_window.h"
#include "app/player_options.h"
#include "engine/game.h"
#include "media/media.h"
#include "media/speech.h"
#include "platform/input_observer.h"
#include "saves/frm_load_game.h"
#include "saves/frm_save_game.h"

namespace app {

Runtime::Runtime(const run::RuntimeOptions& options) : Context(options)
{
    m_media = std::make_unique<media::Media>(*this);
    setReader([this](const QString& text) { m_media->speech().say(text); });
}

Runtime::~Runtime()
{
    // The dialogs and the game window refer to the welcome window; close them first.
    m_optionsWindow.reset();
    m_saveGame.reset();
    m_loadGame.reset();
    m_runFromCd.reset();
    m_game.reset();
    m_welcome.reset();
    // Media before the clock and the dialogs it uses; nothing is read
    // aloud after them.
    setReader({});
    m_media.reset();
}

void Runtime::setInputObserver(platform::InputObserver* observer)
{
    m_inputObserver = observer;
    if (m_welcome)
        m_welcome->window().setInputObserver(observer);
    if (m_game)
        m_game->window().setInputObserver(observer);
    if (m_runFromCd)
        m_runFromCd->window().setInputObserver(observer);
    if (m_saveGame)
        m_saveGame->window().setInputObserver(observer);
    if (m_loadGame)
        m_loadGame->window().setInputObserver(observer);
    if (m_optionsWindow)
        m_optionsWindow->window().setInputObserver(observer);
}

void Runtime::showOptions(std::function<void()> closed)
{
    m_optionsWindow = std::make_unique<OptionsWindow>(settings, dialogs(), options().projectDir, project.GameName);
    OptionsWindow& window = *m_optionsWindow;
    prepare(window.window());
    window.onClosed = [this, closed = std::move(closed)](const std::optional<PlayerOptions>& kept) {
        if (kept)
            applyOptions(*kept);
        if (closed)
            closed();
    };
    window.window().centreOn(display.realScreen());
    window.window().showModal(options().scripted);
}

OptionsWindow* Runtime::optionsIfLoaded()
{
    return m_optionsWindow && m_optionsWindow->window().loaded() && m_optionsWindow->window().isVisible() ? m_optionsWindow.get() : nullptr;
}

void Runtime::applyOptions(const PlayerOptions& chosen)
{
    run::RuntimeOptions& now = changeableOptions();
    now.scaling = chosen.scaling;
    now.volumes = chosen.volumes;
    // Speech reads the options at each text: it starts or stops at the next.
    now.speech = chosen.speech;
    now.focusRing = chosen.focusRing;
    m_media->setVolumes(chosen.volumes);
    if (m_game) {
        m_game->setDisplay(chosen.fullScreen, chosen.scaling);
        m_game->keyboardFocus().setEnabled(chosen.focusRing);
    }
    now.fullScreen = chosen.fullScreen;
}

template <typename Window>
void Runtime::prepare(Window& window)
{
    window.setInputObserver(m_inputObserver);
    // Windows nobody sees paint only when a shot takes their picture.
    if (options().unseen)
        window.setUpdatesEnabled(false);
}

FrmWelcome& Runtime::frmWelcome()
{
    if (!m_welcome) {
        m_welcome = std::make_unique<FrmWelcome>(*this);
        prepare(m_welcome->window());
        m_welcome->Form_Load();
    }
    return *m_welcome;
}

engine::Game& Runtime::game()
{
    if (!m_game) {
        m_game = std::make_unique<engine::Game>(*this);
        prepare(m_game->window());
        m_game->Form_Load();
    }
    return *m_game;
}

FrmRunFromCD& Runtime::frmRunFromCD()
{
    if (!m_runFromCd) {
        m_runFromCd = std::make_unique<FrmRunFromCD>(*this);
        prepare(m_runFromCd->window());
    }
    m_runFromCd->Form_Load();
    return *m_runFromCd;
}

FrmRunFromCD* Runtime::runFromCdIfLoaded()
{
    return m_runFromCd && m_runFromCd->window().loaded() && m_runFromCd->window().isVisible() ? m_runFromCd.get() : nullptr;
}

saves::FrmSaveGame& Runtime::frmSaveGame()
{
    if (!m_saveGame) {
        m_saveGame = std::make_unique<saves::FrmSaveGame>(*this);
        prepare(m_saveGame->window());
    }
    return *m_saveGame;
}

saves::FrmLoadGame& Runtime::frmLoadGame()
{
    if (!m_loadGame) {
        m_loadGame = std::make_unique<saves::FrmLoadGame>(*this);
        prepare(m_loadGame->window());
    }
    return *m_loadGame;
}

saves::FrmSaveGame* Runtime::saveGameIfLoaded()
{
    return m_saveGame && m_saveGame->window().loaded() ? m_saveGame.get() : nullptr;
}

saves::FrmLoadGame* Runtime::loadGameIfLoaded()
{
    return m_loadGame && m_loadGame->window().loaded() ? m_loadGame.get() : nullptr;
}

void Runtime::EndProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    clock().endWaits();
    if (m_runFromCd)
        m_runFromCd->window().unload();
    if (m_saveGame)
        m_saveGame->window().unload();
    if (m_loadGame)
        m_loadGame->window().unload();
    if (m_game)
        m_game->hideWindow();
    if (m_welcome)
        m_welcome->hideWindow();
    if (onEnded)
        onEnded();
}

void Runtime::EndFromOutside()
{
    if (m_ended)
        return;
    if (m_game && m_game->visible())
        m_game->Form_Unload();
    EndProgram();
}

} // namespace app
