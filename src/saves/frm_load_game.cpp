#include "saves/frm_load_game.h"

#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "base/failure.h"
#include "engine/game.h"
#include "platform/safe_file.h"
#include "run/display_settings.h"
#include "run/save_folders.h"
#include "saves/saved_game.h"

#include <QListWidget>
#include <QPushButton>

namespace saves {

FrmLoadGame::FrmLoadGame(app::Runtime& rt) : m_rt(rt), m_window(std::make_unique<platform::FormWindow>(QStringLiteral("frmLoadGame")))
{
    platform::FormWindow& w = *m_window;
    w.setClientSizeTwips(6000, 4200);
    w.setWindowTitle(rt.strings(17));
    w.addLabel(QStringLiteral("Label1"), QRect(240, 180, 5520, 360), rt.strings(18));
    w.addList(QStringLiteral("List1"), QRect(240, 600, 3600, 3360));
    w.addButton(QStringLiteral("Command2"), QRect(4080, 600, 1680, 405), rt.strings(19));
    w.addButton(QStringLiteral("Command1"), QRect(4080, 3555, 1680, 405), rt.strings(11));
    w.onClick(QStringLiteral("Command2"), [this] { Command2_Click(); });
    w.onClick(QStringLiteral("Command1"), [this] { Command1_Click(); });
    w.onItemDoubleClick(QStringLiteral("List1"), [this] { List1_DblClick(); });
    w.setDialogKeys(QStringLiteral("Command2"), QStringLiteral("Command1"));
    w.onClose = [&rt] {
        if (app::FrmWelcome* welcome = rt.welcomeIfLoaded(); welcome && welcome->window().isVisible())
            welcome->Form_Activate();
    };
    w.centreOn(rt.display.realScreen());
}

FrmLoadGame::~FrmLoadGame() = default;

void FrmLoadGame::LoadSaveGames()
{
    saves::LoadSaveGames(m_rt, *static_cast<QListWidget*>(m_window->control(QStringLiteral("List1"))));
}

void FrmLoadGame::show()
{
    m_window->showModal(m_rt.options().scripted);
}

void FrmLoadGame::Command1_Click()
{
    m_window->unload();
    if (m_window->onClose)
        m_window->onClose();
}

void FrmLoadGame::Command2_Click()
{
    const auto* list = static_cast<QListWidget*>(m_window->control(QStringLiteral("List1")));
    if (!list->currentItem() || !list->currentItem()->isSelected()) {
        m_rt.msgBox(m_rt.strings(17), m_rt.strings(9), platform::MsgIcon::Information);
        return;
    }
    const run::SaveFolders folders(m_rt);
    const QString path = folders.pathOf(list->currentItem()->text() + QStringLiteral(".sav"));
    // A save killed half-way in an earlier run left its new file behind.
    if (const auto folder = m_rt.files.resolve(folders.writeFolder()))
        platform::RemoveLeftoverWrites(*folder);
    app::FrmWelcome& welcome = m_rt.frmWelcome();
    engine::Game& game = m_rt.game();
    const platform::Element* chk = welcome.element(QStringLiteral("chkResolution"));
    bool hidden = false;
    if (m_rt.project.DisplayChangeMode == 1 && chk->value() == 1 && chk->shown()) {
        m_window->hide();
        welcome.hideWindow();
        hidden = true;
        run::SwitchToGameResolution(m_rt);
    }
    game.ResetAll();
    game.LoadVariables();
    try {
        auto reader = m_rt.openReader(path);
        const QString frame = reader.readString();
        const std::int32_t variables = reader.readInt32();
        for (std::int32_t i = 0; i < variables; ++i) {
            const QString name = reader.readString();
            game.ChangeVariableValue(name, reader.readInt16());
        }
        const std::int32_t removed = reader.readInt32();
        for (std::int32_t i = 0; i < removed; ++i) {
            const QString name = reader.readString();
            game.Disappear.Add(name, reader.readInt16());
        }
        const std::int16_t objects = reader.readInt16();
        for (std::int16_t i = 0; i < objects; ++i)
            game.AddPickedObject(reader.readString());
        if (!reader.atEnd()) {
            QStringList history;
            const std::int16_t entries = reader.readInt16();
            for (std::int16_t i = 0; i < entries; ++i)
                history << reader.readString();
            game.setFramesHistory(history);
        }
        m_window->unload();
        game.OpenFrame(frame);
        m_rt.clock().doEvents();
        game.show();
        welcome.hideWindow();
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to load '") + path + QStringLiteral("'."));
        // The player is never left without a window: after a display switch
        // the display returns to its size and the welcome window comes back
        // under the load window, so that Cancel leads to it.
        if (hidden) {
            run::RestoreDisplayMode(m_rt);
            welcome.show();
        }
        if (!m_window->isVisible())
            m_window->showModal(true);
    }
}

} // namespace saves
