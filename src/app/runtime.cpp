#include "app/runtime.h"

#include "app/frm_run_from_cd.h"
#include "app/frm_welcome.h"
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
}

FrmWelcome& Runtime::frmWelcome()
{
    if (!m_welcome) {
        m_welcome = std::make_unique<FrmWelcome>(*this);
        m_welcome->window().setInputObserver(m_inputObserver);
        m_welcome->Form_Load();
    }
    return *m_welcome;
}

engine::Game& Runtime::game()
{
    if (!m_game) {
        m_game = std::make_unique<engine::Game>(*this);
        m_game->window().setInputObserver(m_inputObserver);
        m_game->Form_Load();
    }
    return *m_game;
}

FrmRunFromCD& Runtime::frmRunFromCD()
{
    if (!m_runFromCd) {
        m_runFromCd = std::make_unique<FrmRunFromCD>(*this);
        m_runFromCd->window().setInputObserver(m_inputObserver);
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
        m_saveGame->window().setInputObserver(m_inputObserver);
    }
    return *m_saveGame;
}

saves::FrmLoadGame& Runtime::frmLoadGame()
{
    if (!m_loadGame) {
        m_loadGame = std::make_unique<saves::FrmLoadGame>(*this);
        m_loadGame->window().setInputObserver(m_inputObserver);
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
