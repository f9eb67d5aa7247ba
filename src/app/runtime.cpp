#include "app/runtime.h"

#include "app/frm_run_from_cd.h"
#include "app/frm_welcome.h"
#include "base/failure.h"
#include "engine/game.h"
#include "media/media.h"
#include "pictures/picture_decoder.h"
#include "platform/input_observer.h"
#include "platform/qt_dialogs.h"
#include "platform/scripted_dialogs.h"
#include "saves/frm_load_game.h"
#include "saves/frm_save_game.h"

#include <QFont>
#include <QDesktopServices>
#include <QJsonObject>
#include <QUrl>

namespace app {

Runtime::Runtime(const RuntimeOptions& options)
    : codePage(options.codePage), display(options.screen), m_options(options)
{
    // Fonts that games name, mapped to installed fonts of the same metrics
    // (fontconfig knows the first three; the last is a bitmap font of old
    // systems whose nearest outline font has Arial's metrics).
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    drives = options.mountTable ? platform::Drives::fromMountTable(*options.mountTable) : platform::Drives::fromSystem();
    std::map<QChar, QString> roots;
    for (const platform::Drives::Drive& d : drives.drives())
        roots[d.letter] = d.root;
    files.setDriveRoots(std::move(roots));
    if (options.scripted) {
        log.setEnabled(true);
        m_clock = std::make_unique<platform::VirtualClock>(options.startTime);
        auto scripted = std::make_unique<platform::ScriptedDialogs>(log);
        m_scripted = scripted.get();
        m_dialogs = std::move(scripted);
    } else {
        m_clock = std::make_unique<platform::RealClock>();
        m_dialogs = std::make_unique<platform::QtDialogs>();
    }
    m_media = std::make_unique<media::Media>(*this);
}

Runtime::~Runtime()
{
    // The dialogs and the game window refer to the welcome window; close them first.
    m_saveGame.reset();
    m_loadGame.reset();
    m_runFromCd.reset();
    m_game.reset();
    m_welcome.reset();
    // Media before the clock and the dialogs it uses.
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

formats::QuotedFieldReader Runtime::openReader(const QString& path) const
{
    return formats::QuotedFieldReader(files.readAll(path), codePage);
}

QImage Runtime::LoadPicture(const QString& path) const
{
    QImage image = pictures::DecodePicture(files.readAll(path));
    if (image.isNull())
        throw base::Failure(QStringLiteral("Invalid picture: %1").arg(path));
    // Converted once, when it is not already, to a format the window paints
    // without converting it again at every paint (indexed GIFs and BMPs).
    const QImage::Format fast = image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != fast && image.format() != QImage::Format_ARGB32_Premultiplied)
        image.convertTo(fast);
    return image;
}

platform::MsgAnswer Runtime::msgBox(const QString& title, const QString& text, platform::MsgIcon icon,
                                    platform::MsgButtons buttons, std::optional<platform::MsgAnswer> defaultButton)
{
    platform::MsgBox box;
    box.title = title;
    box.text = text;
    box.icon = icon;
    box.buttons = buttons;
    box.defaultButton = defaultButton;
    const platform::MsgAnswer answer = m_dialogs->show(box);
    if (m_inputObserver)
        m_inputObserver->answered(box, answer);
    return answer;
}

bool Runtime::shellOpen(const QString& url)
{
    if (m_options.scripted) {
        log.write(QJsonObject{{QStringLiteral("type"), QStringLiteral("call")}, {QStringLiteral("call"), QStringLiteral("open ") + url}});
        return true;
    }
    return QDesktopServices::openUrl(QUrl(url));
}

void Runtime::ShowErrorReport(const QString& detail)
{
    msgBox(strings(29), strings(30) + QStringLiteral("\r\n\r\n") + strings(31) + detail, platform::MsgIcon::Critical);
}

} // namespace app
