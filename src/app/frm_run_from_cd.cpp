#include "app/frm_run_from_cd.h"

#include "app/runtime.h"
#include "run/media_names.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace app {

FrmRunFromCD::FrmRunFromCD(Runtime& rt) : m_rt(rt), m_window(std::make_unique<platform::FormWindow>(QStringLiteral("frmRunFromCD")))
{
    platform::FormWindow& w = *m_window;
    w.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    w.setClientSizeTwips(4800, 2280);
    w.setWindowTitle(rt.project.GameName);
    w.addLabel(QStringLiteral("Label1"), QRect(240, 180, 4320, 600), QString());
    w.addLabel(QStringLiteral("Label2"), QRect(240, 960, 1500, 300), QString());
    w.addComboBox(QStringLiteral("Combo1"), QRect(1800, 900, 2760, 375));
    QPushButton* ok = w.addButton(QStringLiteral("Command3"), QRect(1920, 1620, 1200, 405), QStringLiteral("OK"));
    w.addButton(QStringLiteral("Command4"), QRect(3360, 1620, 1200, 405), QStringLiteral("Cancel"));
    ok->setDefault(true);
    w.onClick(QStringLiteral("Command3"), [this] { Command3_Click(); });
    w.onClick(QStringLiteral("Command4"), [this] { Command4_Click(); });
    w.onClose = [this] {
        // The window's close box gives up, like Cancel.
        m_rt.CDCancelled = true;
        if (auto closed = std::exchange(m_closed, nullptr))
            closed();
    };
}

FrmRunFromCD::~FrmRunFromCD() = default;

void FrmRunFromCD::Form_Load()
{
    platform::FormWindow& w = *m_window;
    w.centreOn(m_rt.display.realScreen());
    static_cast<QLabel*>(w.control(QStringLiteral("Label1")))->setText(m_rt.strings(36));
    static_cast<QLabel*>(w.control(QStringLiteral("Label2")))->setText(m_rt.strings(37));
    auto* combo = static_cast<QComboBox*>(w.control(QStringLiteral("Combo1")));
    combo->clear();
    QString text;
    for (char letter = 'A'; letter <= 'V'; ++letter) {
        const QString root = QString(QChar::fromLatin1(letter)) + QStringLiteral(":\\");
        QString label;
        switch (m_rt.drives.type(QChar::fromLatin1(letter))) {
        case platform::Drives::Removable: label = QStringLiteral("(Floppy Drive)"); break;
        case platform::Drives::Fixed: label = QStringLiteral("(Hard Drive)"); break;
        case platform::Drives::Remote: label = QStringLiteral("(Network Drive)"); break;
        case platform::Drives::CdRom: label = QStringLiteral("(CD-ROM Drive)"); break;
        case platform::Drives::RamDisk: label = QStringLiteral("(RAM Disk)"); break;
        default: break;
        }
        if (label.isEmpty())
            continue;
        combo->addItem(root + u' ' + label);
        if (m_rt.drives.type(QChar::fromLatin1(letter)) == platform::Drives::CdRom)
            text = root;
    }
    const QString remembered = run::ReadCDDrive(m_rt);
    if (!remembered.isEmpty())
        text = remembered;
    // Adding items chose the first one; the text is what was found above.
    combo->setCurrentIndex(-1);
    combo->setEditText(text);
}

void FrmRunFromCD::show(std::function<void()> closed)
{
    m_closed = std::move(closed);
    m_window->showModal(m_rt.options().scripted);
}

void FrmRunFromCD::close()
{
    m_window->unload();
    if (auto closed = std::exchange(m_closed, nullptr))
        closed();
}

void FrmRunFromCD::Command3_Click()
{
    const QString text = static_cast<QComboBox*>(m_window->control(QStringLiteral("Combo1")))->currentText();
    const QString drive = text.isEmpty() ? QString() : text.left(1) + QStringLiteral(":\\");
    auto unavailable = [&] {
        m_rt.msgBox(m_rt.project.GameName, m_rt.strings(38), platform::MsgIcon::Exclamation);
    };
    try {
        if (drive.isEmpty() || !m_rt.files.dirExists(drive)) {
            unavailable();
            return;
        }
        const run::CDFolders cd = run::CDFoldersOn(m_rt, drive);
        for (const QString& folder : {cd.frames, cd.areas, cd.icons}) {
            if (!run::CheckFolderPresent(m_rt, folder))
                return;
        }
        run::WriteCDDrive(m_rt, text);
        run::UseCDFolders(m_rt, cd);
        close();
    } catch (const std::exception&) {
        unavailable();
    }
}

void FrmRunFromCD::Command4_Click()
{
    m_rt.CDCancelled = true;
    close();
}

} // namespace app
