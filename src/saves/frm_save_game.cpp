#include "saves/frm_save_game.h"

#include "app/runtime.h"
#include "base/failure.h"
#include "engine/game.h"
#include "platform/safe_file.h"
#include "run/save_folders.h"
#include "saves/saved_game.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace saves {

namespace {
const QString kForbiddenList = QStringLiteral("\" \\ / : * ? < > | ,");
}

FrmSaveGame::FrmSaveGame(app::Runtime& rt) : m_rt(rt), m_window(std::make_unique<platform::FormWindow>(QStringLiteral("frmSaveGame")))
{
    platform::FormWindow& w = *m_window;
    w.setClientSizeTwips(6000, 4200);
    w.setWindowTitle(rt.strings(21));
    w.addLabel(QStringLiteral("Label2"), QRect(240, 180, 5520, 360), rt.strings(23));
    QLineEdit* text = w.addTextBox(QStringLiteral("Text1"), QRect(240, 600, 5520, 360));
    w.addList(QStringLiteral("List1"), QRect(240, 1080, 3600, 2880));
    w.addButton(QStringLiteral("Command2"), QRect(4080, 1080, 1680, 405), rt.strings(25));
    w.addButton(QStringLiteral("Command3"), QRect(4080, 1620, 1680, 405), rt.strings(22));
    w.addButton(QStringLiteral("Command1"), QRect(4080, 3555, 1680, 405), rt.strings(11));
    w.onClick(QStringLiteral("Command2"), [this] { Command2_Click(); });
    w.onClick(QStringLiteral("Command3"), [this] { Command3_Click(); });
    w.onClick(QStringLiteral("Command1"), [this] { Command1_Click(); });
    w.onItemClick(QStringLiteral("List1"), [this] { List1_Click(); });
    w.onItemDoubleClick(QStringLiteral("List1"), [this] { List1_DblClick(); });
    // Return in the name box saves, as it reaches the window's default button.
    w.setDialogKeys(QStringLiteral("Command2"), QStringLiteral("Command1"));
    w.onActivate = [text] { text->setFocus(); };
    w.centreOn(rt.display.realScreen());
}

FrmSaveGame::~FrmSaveGame() = default;

void FrmSaveGame::LoadSaveGames()
{
    saves::LoadSaveGames(m_rt, *static_cast<QListWidget*>(m_window->control(QStringLiteral("List1"))));
}

void FrmSaveGame::show()
{
    m_window->showModal(m_rt.options().scripted);
}

void FrmSaveGame::writeSave(const QString& path, const run::SaveFolders& folders)
{
    engine::Game& game = m_rt.game();
    SavedGame save;
    save.frame = m_rt.frame.CurrentFrameName;
    save.variables = game.Variables.records();
    save.disappear = game.Disappear.records();
    save.objects = game.inventory().tags();
    save.history = game.FramesHistory();
    save.projectKey = m_rt.project.ProjectKey;
    save.gameName = m_rt.project.GameName;
    save.date = m_rt.clock().now().date();
    folders.makeWriteFolder();
    const std::filesystem::path target = m_rt.files.pathForWriting(path);
    platform::RemoveLeftoverWrites(target.parent_path());
    platform::WriteFileSafely(target, save.bytes(m_rt.codePage));
    m_rt.files.forgetListings();
}

void FrmSaveGame::Command2_Click()
{
    const QString name = static_cast<QLineEdit*>(m_window->control(QStringLiteral("Text1")))->text();
    const run::SaveFolders folders(m_rt);
    const QString path = folders.writeFolder() + name + QStringLiteral(".sav");
    try {
        if (HasForbiddenCharacter(name) || UnfitForFileName(name, m_rt.codePage)) {
            m_rt.msgBox(m_rt.project.GameName, m_rt.strings(35) + QStringLiteral("\r\n") + kForbiddenList,
                        platform::MsgIcon::Information);
            return;
        }
        if (name.isEmpty()) {
            m_rt.msgBox(m_rt.strings(21), m_rt.strings(23), platform::MsgIcon::Information);
            return;
        }
        // A save of the game folder that the player's own copy would hide
        // is replaced too, as far as the player can tell.
        if (m_rt.files.fileExists(folders.pathOf(name + QStringLiteral(".sav")))) {
            const auto answer = m_rt.msgBox(m_rt.strings(21), u'\'' + name + QStringLiteral("' ") + m_rt.strings(24),
                                            platform::MsgIcon::Question, platform::MsgButtons::OkCancel);
            if (answer == platform::MsgAnswer::Cancel)
                return;
        }
        writeSave(path, folders);
        m_window->unload();
    } catch (const std::exception&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to save '") + path
                             + QStringLiteral("'.\r\nVerify that this file is not Read-Only and that it does not contain any of the following characters: ")
                             + kForbiddenList);
    }
}

void FrmSaveGame::Command3_Click()
{
    const auto* list = static_cast<QListWidget*>(m_window->control(QStringLiteral("List1")));
    if (!list->currentItem() || !list->currentItem()->isSelected()) {
        m_rt.msgBox(m_rt.strings(26), m_rt.strings(9), platform::MsgIcon::Information);
        return;
    }
    const QString path = run::SaveFolders(m_rt).pathOf(list->currentItem()->text() + QStringLiteral(".sav"));
    const auto answer = m_rt.msgBox(m_rt.strings(26), m_rt.strings(27) + QStringLiteral(" '") + path + QStringLiteral("'?"),
                                    platform::MsgIcon::Question, platform::MsgButtons::OkCancel);
    if (answer != platform::MsgAnswer::Ok)
        return;
    const auto found = m_rt.files.resolve(path);
    if (!found || !QFile::remove(QString::fromStdString(found->string()))) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to remove '") + path + QStringLiteral("'."));
        return;
    }
    m_rt.files.forgetListings();
    LoadSaveGames();
}

void FrmSaveGame::Command1_Click()
{
    m_window->unload();
}

void FrmSaveGame::List1_Click()
{
    const auto* list = static_cast<QListWidget*>(m_window->control(QStringLiteral("List1")));
    if (list->currentItem())
        static_cast<QLineEdit*>(m_window->control(QStringLiteral("Text1")))->setText(list->currentItem()->text());
}

void FrmSaveGame::List1_DblClick()
{
    List1_Click();
    Command2_Click();
}

} // namespace saves
