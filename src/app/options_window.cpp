#include "app/options_window.h"

#include "base/code_page.h"
#include "base/failure.h"
#include "devices/sound_font.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QSpinBox>

namespace app {

namespace {

const QString kTitle = QStringLiteral("loomplay");

// The window's controls.
const QString kFor = QStringLiteral("For");
const QString kDisplay = QStringLiteral("Display");
const QString kScaling = QStringLiteral("Scaling");
const QString kMaster = QStringLiteral("MasterVolume");
const QString kMute = QStringLiteral("Mute");
const QString kMusic = QStringLiteral("MusicVolume");
const QString kSounds = QStringLiteral("SoundsVolume");
const QString kVideo = QStringLiteral("VideoVolume");
const QString kSoundFont = QStringLiteral("SoundFont");
const QString kChooseSoundFont = QStringLiteral("ChooseSoundFont");
const QString kCodePage = QStringLiteral("CodePage");
const QString kSpeech = QStringLiteral("Speech");
const QString kFocusRing = QStringLiteral("FocusRing");
const QString kDefaults = QStringLiteral("Defaults");
const QString kOk = QStringLiteral("OK");
const QString kCancel = QStringLiteral("Cancel");

// The code pages games were written in, offered first; any other Qt knows
// can be typed.
const QStringList kCodePages = {
    QStringLiteral("windows-1252"), QStringLiteral("windows-1250"), QStringLiteral("windows-1251"), QStringLiteral("windows-1253"),
    QStringLiteral("windows-1254"), QStringLiteral("windows-1255"), QStringLiteral("windows-1256"), QStringLiteral("windows-1257"),
    QStringLiteral("windows-1258"), QStringLiteral("windows-874"),  QStringLiteral("Shift_JIS"),    QStringLiteral("GBK"),
    QStringLiteral("Big5"),         QStringLiteral("EUC-KR"),
};

// Where the rows and columns of the window start, in twips.
constexpr int kLeft = 120;
constexpr int kField = 2400;
constexpr int kRow = 480;
constexpr int kHeight = 375;
constexpr int kWidth = 7680;

// A failure's words as a message box says them: a sentence.
QString sentence(const base::Failure& failure)
{
    QString text = QString::fromUtf8(failure.what());
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    if (!text.endsWith(u'.'))
        text += u'.';
    return text;
}

QRect labelAt(int row)
{
    return QRect(kLeft, 120 + row * kRow + 45, kField - kLeft - 60, kHeight - 45);
}

QRect fieldAt(int row, int width = kWidth - kField - kLeft)
{
    return QRect(kField, 120 + row * kRow, width, kHeight);
}

} // namespace

OptionsWindow::OptionsWindow(platform::SettingsStore& store, platform::Dialogs& dialogs, QString folder, QString name)
    : m_store(store), m_dialogs(dialogs), m_folder(std::move(folder)), m_window(std::make_unique<platform::FormWindow>(QStringLiteral("Options")))
{
    platform::FormWindow& w = *m_window;
    w.setWindowTitle(tr("Options - loomplay"));
    w.setClientSizeTwips(kWidth, 120 + 13 * kRow + 180);

    QStringList scopes;
    if (!m_folder.isEmpty())
        scopes << tr("This game: %1").arg(name.isEmpty() ? QFileInfo(m_folder).fileName() : name);
    scopes << tr("All games");
    w.addLabel(QStringLiteral("ForLabel"), labelAt(0), tr("Settings for:"));
    QComboBox* scope = w.addChoiceBox(kFor, fieldAt(0), scopes);

    w.addLabel(QStringLiteral("DisplayLabel"), labelAt(1), tr("Display:"));
    w.addChoiceBox(kDisplay, fieldAt(1), {tr("Full screen"), tr("Window")});
    w.addLabel(QStringLiteral("ScalingLabel"), labelAt(2), tr("Scaling:"));
    w.addChoiceBox(kScaling, fieldAt(2), {tr("Smooth"), tr("Sharp"), tr("Whole-number steps")});

    const QString percent = QStringLiteral(" %");
    w.addLabel(QStringLiteral("MasterVolumeLabel"), labelAt(3), tr("Master volume:"));
    w.addNumberBox(kMaster, fieldAt(3, 1200), 0, devices::Volumes::Full, percent);
    w.addCheckBox(kMute, QRect(kField + 1440, 120 + 3 * kRow, 2400, kHeight), tr("Mute"));
    w.addLabel(QStringLiteral("MusicVolumeLabel"), labelAt(4), tr("Music:"));
    w.addNumberBox(kMusic, fieldAt(4, 1200), 0, devices::Volumes::Full, percent);
    w.addLabel(QStringLiteral("SoundsVolumeLabel"), labelAt(5), tr("Sounds:"));
    w.addNumberBox(kSounds, fieldAt(5, 1200), 0, devices::Volumes::Full, percent);
    w.addLabel(QStringLiteral("VideoVolumeLabel"), labelAt(6), tr("Video:"));
    w.addNumberBox(kVideo, fieldAt(6, 1200), 0, devices::Volumes::Full, percent);

    w.addLabel(QStringLiteral("SoundFontLabel"), labelAt(7), tr("Soundfont:"));
    w.addTextBox(kSoundFont, fieldAt(7, 3600))->setPlaceholderText(tr("The one installed"));
    w.addButton(kChooseSoundFont, QRect(kField + 3720, 120 + 7 * kRow, kWidth - kField - 3720 - kLeft, kHeight), tr("Choose..."));
    w.addLabel(QStringLiteral("CodePageLabel"), labelAt(8), tr("Code page:"));
    w.addComboBox(kCodePage, fieldAt(8, 2400))->addItems(kCodePages);

    w.addCheckBox(kSpeech, fieldAt(9), tr("Read the game's texts aloud"));
    w.addCheckBox(kFocusRing, fieldAt(10), tr("Tab moves a focus ring through the game"));

    w.addLabel(QStringLiteral("Note"), QRect(kLeft, 120 + 11 * kRow, kWidth - 2 * kLeft, kHeight),
               tr("The soundfont and the code page take effect when a game starts."));

    const int buttons = 120 + 12 * kRow;
    w.addButton(kDefaults, QRect(kLeft, buttons, 2400, kHeight + 60), tr("Restore defaults"));
    w.addButton(kOk, QRect(kWidth - kLeft - 2 * 1440 - 120, buttons, 1440, kHeight + 60), tr("OK"));
    w.addButton(kCancel, QRect(kWidth - kLeft - 1440, buttons, 1440, kHeight + 60), tr("Cancel"));

    QObject::connect(scope, &QComboBox::currentIndexChanged, &w, [this] { settingsForChanged(); });
    w.onClick(kDefaults, [this] { restoreDefaults(); });
    w.onClick(kChooseSoundFont, [this] { chooseSoundFont(); });
    w.onClick(kOk, [this] { accept(); });
    w.onClick(kCancel, [this] { cancel(); });
    w.onClose = [this] { close(std::nullopt); };
    w.setDialogKeys(kOk, kCancel);
    askSoundFont = [this](const QString& shown) {
        return QFileDialog::getOpenFileName(m_window.get(), tr("Choose a soundfont"), shown,
                                            tr("Soundfonts (*.sf2 *.sf3 *.SF2 *.SF3)"));
    };
    settingsForChanged();
}

OptionsWindow::~OptionsWindow() = default;

bool OptionsWindow::forThisGame() const
{
    return !m_folder.isEmpty() && static_cast<QComboBox*>(m_window->control(kFor))->currentIndex() == 0;
}

void OptionsWindow::settingsForChanged()
{
    show(forThisGame() ? PlayerOptions::forGame(m_store, m_folder) : PlayerOptions::defaults(m_store));
}

void OptionsWindow::show(const PlayerOptions& o)
{
    const platform::FormWindow& w = *m_window;
    static_cast<QComboBox*>(w.control(kDisplay))->setCurrentIndex(o.fullScreen ? 0 : 1);
    static_cast<QComboBox*>(w.control(kScaling))->setCurrentIndex(int(o.scaling));
    static_cast<QSpinBox*>(w.control(kMaster))->setValue(o.volumes.master);
    static_cast<QSpinBox*>(w.control(kMusic))->setValue(o.volumes.music);
    static_cast<QSpinBox*>(w.control(kSounds))->setValue(o.volumes.sounds);
    static_cast<QSpinBox*>(w.control(kVideo))->setValue(o.volumes.video);
    static_cast<QCheckBox*>(w.control(kMute))->setChecked(o.volumes.mute);
    static_cast<QLineEdit*>(w.control(kSoundFont))->setText(o.soundFont);
    static_cast<QComboBox*>(w.control(kCodePage))->setEditText(o.codePage);
    static_cast<QCheckBox*>(w.control(kSpeech))->setChecked(o.speech);
    static_cast<QCheckBox*>(w.control(kFocusRing))->setChecked(o.focusRing);
}

PlayerOptions OptionsWindow::shown() const
{
    const platform::FormWindow& w = *m_window;
    PlayerOptions o;
    o.fullScreen = static_cast<QComboBox*>(w.control(kDisplay))->currentIndex() == 0;
    o.scaling = platform::Scaling(static_cast<QComboBox*>(w.control(kScaling))->currentIndex());
    o.volumes.master = static_cast<QSpinBox*>(w.control(kMaster))->value();
    o.volumes.music = static_cast<QSpinBox*>(w.control(kMusic))->value();
    o.volumes.sounds = static_cast<QSpinBox*>(w.control(kSounds))->value();
    o.volumes.video = static_cast<QSpinBox*>(w.control(kVideo))->value();
    o.volumes.mute = static_cast<QCheckBox*>(w.control(kMute))->isChecked();
    o.soundFont = static_cast<QLineEdit*>(w.control(kSoundFont))->text().trimmed();
    o.codePage = static_cast<QComboBox*>(w.control(kCodePage))->currentText().trimmed();
    o.speech = static_cast<QCheckBox*>(w.control(kSpeech))->isChecked();
    o.focusRing = static_cast<QCheckBox*>(w.control(kFocusRing))->isChecked();
    return o;
}

void OptionsWindow::restoreDefaults()
{
    show(PlayerOptions());
}

void OptionsWindow::chooseSoundFont()
{
    auto* field = static_cast<QLineEdit*>(m_window->control(kSoundFont));
    const QString chosen = askSoundFont ? askSoundFont(field->text()) : QString();
    if (!chosen.isEmpty())
        field->setText(chosen);
}

void OptionsWindow::accept()
{
    PlayerOptions o = shown();
    // What a game could not start with is said now, not when it starts.
    try {
        o.codePage = base::CodePage::named(o.codePage).name();
        if (!o.soundFont.isEmpty())
            devices::CheckSoundFont(o.soundFont);
    } catch (const base::Failure& e) {
        m_dialogs.show({kTitle, sentence(e), platform::MsgIcon::Exclamation});
        return;
    }
    try {
        if (forThisGame()) {
            o.saveForGame(m_store, m_folder);
        } else {
            o.saveAsDefaults(m_store);
            // A game whose options are set for all games follows them.
            if (!m_folder.isEmpty())
                PlayerOptions::forgetGame(m_store, m_folder);
        }
    } catch (const base::Failure& e) {
        // Kept for this game alone: the player's choice still holds now.
        m_dialogs.show({kTitle, sentence(e), platform::MsgIcon::Exclamation});
    }
    close(o);
}

void OptionsWindow::cancel()
{
    close(std::nullopt);
}

void OptionsWindow::close(const std::optional<PlayerOptions>& kept)
{
    if (m_closed)
        return;
    m_closed = true;
    m_window->unload();
    if (onClosed)
        onClosed(kept);
}

} // namespace app
