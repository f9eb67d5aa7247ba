#include "app/game_chooser.h"

#include "app/game_folders.h"
#include "app/options_window.h"
#include "base/failure.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace app {

namespace {

const QString kTitle = QStringLiteral("loomplay");

// The window's controls.
const QString kHeading = QStringLiteral("heading");
const QString kGames = QStringLiteral("games");
const QString kOpen = QStringLiteral("open");
const QString kRemove = QStringLiteral("remove");
const QString kPlay = QStringLiteral("play");
const QString kOptions = QStringLiteral("options");
const QString kDemo = QStringLiteral("demo");

} // namespace

GameChooser::GameChooser(RecentGames& games, platform::Dialogs& dialogs, base::CodePage codePage, QString demoFolder)
    : m_games(games), m_dialogs(dialogs), m_codePage(std::move(codePage)), m_demoFolder(std::move(demoFolder)), m_window(std::make_unique<platform::FormWindow>(QStringLiteral("GameChooser")))
{
    platform::FormWindow& w = *m_window;
    w.setWindowTitle(tr("Choose a game - loomplay"));
    w.setClientSizeTwips(8400, 4800);
    w.addLabel(kHeading, QRect(120, 120, 8160, 300), QString());
    QListWidget* gameList = w.addList(kGames, QRect(120, 480, 8160, 3480));
    QPushButton* open = w.addButton(kOpen, QRect(120, 4140, 2580, 435), tr("Open a game folder..."));
    QPushButton* remove = w.addButton(kRemove, QRect(2820, 4140, 1980, 435), tr("Remove from list"));
    QPushButton* options = w.addButton(kOptions, QRect(4920, 4140, 1620, 435), tr("Options..."));
    QPushButton* play = w.addButton(kPlay, QRect(6660, 4140, 1620, 435), tr("Play"));
    // Over the empty list, where a first game would be.
    QPushButton* demo = w.addButton(kDemo, QRect(2940, 1980, 2520, 435), tr("Play the demo game"));
    demo->raise();
    QObject::connect(demo, &QPushButton::clicked, &w, [this] { playDemo(); });
    QObject::connect(play, &QPushButton::clicked, &w, [this] { playChosen(); });
    QObject::connect(open, &QPushButton::clicked, &w, [this] { openFolder(); });
    QObject::connect(remove, &QPushButton::clicked, &w, [this] { removeChosen(); });
    QObject::connect(options, &QPushButton::clicked, &w, [this] { showOptions(); });
    QObject::connect(gameList, &QListWidget::itemDoubleClicked, &w, [this] { playChosen(); });
    // Return plays the chosen game; Escape closes the window as its close box does.
    w.setDialogKeys(kPlay);
    askFolder = [this] {
        return QFileDialog::getExistingDirectory(m_window.get(), tr("Open a game folder"), QDir::homePath());
    };
    fillList();
}

GameChooser::~GameChooser() = default;

QString GameChooser::itemText(const RecentGames::Game& game)
{
    const QString name = game.name.isEmpty() ? QFileInfo(game.folder).fileName() : game.name;
    return QStringLiteral("%1 (%2)").arg(name, QDir::toNativeSeparators(game.folder));
}

void GameChooser::fillList()
{
    QListWidget* games = list();
    games->clear();
    for (const RecentGames::Game& game : m_games.games())
        games->addItem(itemText(game));
    if (games->count() > 0)
        games->setCurrentRow(0);
    const bool any = games->count() > 0;
    const bool demo = !any && !m_demoFolder.isEmpty();
    static_cast<QLabel*>(m_window->control(kHeading))
        ->setText(any    ? tr("Games played before:")
                  : demo ? tr("No game played yet: open a game folder, or play the demo game.")
                         : tr("No game played yet: open a game folder to play it."));
    m_window->control(kPlay)->setEnabled(any);
    m_window->control(kRemove)->setEnabled(any);
    m_window->control(kDemo)->setVisible(demo);
    // Return plays the demo where there is nothing else to play.
    if (demo)
        m_window->control(kDemo)->setFocus();
}

QListWidget* GameChooser::list() const
{
    return static_cast<QListWidget*>(m_window->control(kGames));
}

const RecentGames::Game* GameChooser::chosenGame() const
{
    const int row = list()->currentRow();
    if (row < 0 || row >= int(m_games.games().size()))
        return nullptr;
    return &m_games.games()[std::size_t(row)];
}

std::optional<QString> GameChooser::exec()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_window->centreOn(screen->availableSize());
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    QEventLoop loop;
    while (m_window->isVisible() && !m_chosen)
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    return m_chosen;
}

void GameChooser::playChosen()
{
    if (const RecentGames::Game* game = chosenGame())
        openGame(game->folder);
}

void GameChooser::playDemo()
{
    if (!m_demoFolder.isEmpty())
        openGame(m_demoFolder);
}

void GameChooser::openFolder()
{
    const QString folder = askFolder ? askFolder() : QString();
    if (!folder.isEmpty())
        openGame(folder);
}

void GameChooser::removeChosen()
{
    const RecentGames::Game* game = chosenGame();
    if (!game)
        return;
    const int row = list()->currentRow();
    try {
        m_games.remove(game->folder);
    } catch (const base::Failure& e) {
        m_dialogs.show({kTitle, QString::fromUtf8(e.what()), platform::MsgIcon::Critical});
    }
    fillList();
    // The line that took the removed one's place stays chosen.
    if (list()->count() > 0)
        list()->setCurrentRow(std::min(row, list()->count() - 1));
}

void GameChooser::showOptions()
{
    const RecentGames::Game* game = chosenGame();
    m_options = std::make_unique<OptionsWindow>(m_store, m_dialogs, game ? game->folder : QString(), game ? game->name : QString());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        m_options->window().centreOn(screen->availableSize());
    m_options->window().showModal(!showsModally);
}

bool GameChooser::openGame(QString folder)
{
    if (const QString why = WhyNotAGame(folder); !why.isEmpty()) {
        m_dialogs.show({kTitle, why, platform::MsgIcon::Exclamation});
        return false;
    }
    try {
        m_games.add(folder, ReadGameName(folder, m_codePage));
    } catch (const base::Failure& e) {
        // The game plays all the same; only the list could not be kept.
        m_dialogs.show({kTitle, QString::fromUtf8(e.what()), platform::MsgIcon::Exclamation});
    }
    m_chosen = RecentGames::key(folder);
    m_window->unload();
    return true;
}

} // namespace app
