#include "authoring/state_window.h"

#include "app/runtime.h"
#include "automation/state_check.h"
#include "automation/state_dump.h"
#include "engine/game.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QJsonArray>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <limits>

namespace authoring {

namespace {

QListWidget* listIn(QTabWidget& tabs, const QString& title)
{
    auto* list = new QListWidget(&tabs); // owned by the tabs
    tabs.addTab(list, title);
    return list;
}

} // namespace

StateWindow::StateWindow(app::Runtime& rt) : m_rt(rt)
{
    setWindowTitle(QStringLiteral("Game state"));
    auto* layout = new QVBoxLayout(this); // owned by the window
    auto* tabs = new QTabWidget(this);
    layout->addWidget(tabs);
    m_variables = new QTableWidget(0, 2, tabs);
    m_variables->setHorizontalHeaderLabels({QStringLiteral("Variable"), QStringLiteral("Value")});
    m_variables->horizontalHeader()->setStretchLastSection(true);
    m_variables->verticalHeader()->hide();
    tabs->addTab(m_variables, QStringLiteral("Variables"));
    m_removed = listIn(*tabs, QStringLiteral("Removed areas"));
    m_inventory = listIn(*tabs, QStringLiteral("Inventory"));
    m_history = listIn(*tabs, QStringLiteral("History"));
    m_timers = listIn(*tabs, QStringLiteral("Timers"));
    m_playing = listIn(*tabs, QStringLiteral("Playing"));
    resize(360, 420);
    QObject::connect(m_variables, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) { variableEdited(item); });
    // One reading for all the events in hand.
    m_reading.setSingleShot(true);
    m_reading.setInterval(0);
    QObject::connect(&m_reading, &QTimer::timeout, this, [this] { refresh(); });
    m_before = m_rt.onFrameOpened;
    m_rt.onFrameOpened = [this](const QString& frame) { frameOpened(frame); };
}

StateWindow::~StateWindow()
{
    m_rt.onFrameOpened = m_before;
    qApp->removeEventFilter(this);
}

void StateWindow::showState()
{
    show();
    raise();
    refresh();
}

void StateWindow::frameOpened(const QString& frame)
{
    if (m_before)
        m_before(frame);
    // The game window exists once it opens a frame: its Debug menu leads here.
    if (engine::Game* game = m_rt.gameIfLoaded())
        game->menus().onState = [this] { showState(); };
    if (isVisible())
        m_reading.start();
}

void StateWindow::showEvent(QShowEvent* event)
{
    qApp->installEventFilter(this);
    QWidget::showEvent(event);
}

void StateWindow::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    QWidget::hideEvent(event);
}

bool StateWindow::eventFilter(QObject* watched, QEvent* event)
{
    // What changes the game's state runs from an input or a timer; the
    // reading's own timer is not one of them.
    const QEvent::Type type = event->type();
    const bool changes = type == QEvent::MouseButtonRelease || type == QEvent::KeyRelease || type == QEvent::Timer;
    if (changes && watched != &m_reading && !m_reading.isActive())
        m_reading.start();
    return QWidget::eventFilter(watched, event);
}

void StateWindow::setRows(QListWidget& list, const QStringList& rows)
{
    QStringList shown;
    for (int i = 0; i < list.count(); ++i)
        shown << list.item(i)->text();
    if (shown == rows)
        return;
    list.clear();
    list.addItems(rows);
}

void StateWindow::refresh()
{
    const QJsonObject dump = automation::StateDump(m_rt, QString());
    const QJsonObject state{{QStringLiteral("game"), dump.value(QStringLiteral("game"))}, {QStringLiteral("media"), dump.value(QStringLiteral("media"))}};
    if (state == m_shown)
        return;
    m_shown = state;
    const QJsonObject game = state.value(QStringLiteral("game")).toObject();
    const QJsonObject media = state.value(QStringLiteral("media")).toObject();

    m_filling = true;
    const QJsonArray variables = game.value(QStringLiteral("variables")).toArray();
    m_variables->setRowCount(static_cast<int>(variables.size()));
    for (int row = 0; row < variables.size(); ++row) {
        const QJsonArray pair = variables.at(row).toArray();
        const QString name = pair.at(0).toString();
        const QString value = automation::ValueText(pair.at(1));
        auto* nameItem = m_variables->item(row, 0);
        if (!nameItem || nameItem->text() != name) {
            nameItem = new QTableWidgetItem(name); // owned by the table
            nameItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_variables->setItem(row, 0, nameItem);
        }
        if (!m_variables->item(row, 1) || m_variables->item(row, 1)->text() != value)
            m_variables->setItem(row, 1, new QTableWidgetItem(value)); // owned by the table
    }
    m_filling = false;

    QStringList removed;
    for (const QJsonValue& pair : game.value(QStringLiteral("disappear")).toArray())
        removed << QStringLiteral("%1: area %2").arg(pair.toArray().at(0).toString(), automation::ValueText(pair.toArray().at(1)));
    setRows(*m_removed, removed);
    setRows(*m_inventory, game.value(QStringLiteral("inventory")).toVariant().toStringList());
    setRows(*m_history, game.value(QStringLiteral("history")).toVariant().toStringList());
    QStringList timers;
    const QJsonObject timerStates = game.value(QStringLiteral("timers")).toObject();
    for (auto it = timerStates.begin(); it != timerStates.end(); ++it) {
        const QJsonObject t = it.value().toObject();
        QString row = QStringLiteral("%1: %2, %3 ms")
                          .arg(it.key(), t.value(QStringLiteral("enabled")).toBool() ? QStringLiteral("on") : QStringLiteral("off"))
                          .arg(t.value(QStringLiteral("interval")).toInteger());
        if (const QString tag = t.value(QStringLiteral("tag")).toString(); !tag.isEmpty())
            row += QStringLiteral(", ") + tag;
        timers << row;
    }
    setRows(*m_timers, timers);
    QStringList playing;
    if (const QString music = automation::PlayingMusic(dump); !music.isEmpty())
        playing << QStringLiteral("music %1").arg(music);
    if (media.value(QStringLiteral("VideoStatus")).toString().compare(QLatin1String("playing"), Qt::CaseInsensitive) == 0)
        playing << QStringLiteral("a video");
    for (const QJsonValue& channel : media.value(QStringLiteral("channels")).toArray()) {
        const QJsonObject c = channel.toObject();
        if (c.value(QStringLiteral("playing")).toBool())
            playing << QStringLiteral("channel %1: %2").arg(c.value(QStringLiteral("channel")).toInt()).arg(c.value(QStringLiteral("file")).toString().section(u'/', -1));
    }
    setRows(*m_playing, playing);
}

bool StateWindow::setVariable(const QString& name, const QString& value)
{
    engine::Game* game = m_rt.gameIfLoaded();
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    if (!game || !ok || number < std::numeric_limits<std::int16_t>::min() || number > std::numeric_limits<std::int16_t>::max()
        || game->Variables.PositionsOf(name).empty()) {
        refresh();
        return false;
    }
    // -1 would toggle the variable: the value asked for is set as it is.
    for (const std::int32_t position : game->Variables.PositionsOf(name))
        game->Variables.SetValue(position, static_cast<std::int16_t>(number));
    m_shown = QJsonObject();
    refresh();
    return true;
}

void StateWindow::variableEdited(QTableWidgetItem* item)
{
    if (m_filling || item->column() != 1)
        return;
    const QTableWidgetItem* name = m_variables->item(item->row(), 0);
    // A value the game cannot take goes back to the game's own.
    if (name && !setVariable(name->text(), item->text())) {
        m_shown = QJsonObject();
        refresh();
    }
}

QStringList StateWindow::rows(Section section) const
{
    QStringList out;
    if (section == Section::Variables) {
        for (int row = 0; row < m_variables->rowCount(); ++row)
            out << QStringLiteral("%1 = %2").arg(m_variables->item(row, 0)->text(), m_variables->item(row, 1)->text());
        return out;
    }
    const QListWidget* list = section == Section::RemovedAreas ? m_removed
        : section == Section::Inventory                        ? m_inventory
        : section == Section::History                          ? m_history
        : section == Section::Timers                           ? m_timers
                                                               : m_playing;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

} // namespace authoring
