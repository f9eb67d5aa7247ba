#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

class QListWidget;
class QTableWidget;
class QTableWidgetItem;

namespace app {
class Runtime;
}

namespace authoring {

// For game authors (--debug, Debug menu → State): the state of the game
// being played in a window of its own beside the game: the variables, whose
// values can be edited, the removed areas, the inventory, the frames
// visited, the game window's timers and what is playing. While it is shown
// it follows the game: each frame opened, input handled and timer run
// leads to one reading of the state once the events in hand are done, and
// the lists change only where the state did. Hidden, it costs nothing.
class StateWindow : public QWidget {
public:
    enum class Section { Variables, RemovedAreas, Inventory, History, Timers, Playing };

    explicit StateWindow(app::Runtime& rt);
    ~StateWindow() override;

    // Shows the window and reads the state: the Debug menu's State item.
    void showState();
    // Reads the state into the lists now.
    void refresh();
    // An edit of a variable's value: the game's variable takes it. False
    // for no such variable or a value that is no 16-bit number.
    bool setVariable(const QString& name, const QString& value);
    // The rows of a section as shown: "Hint = 1", "Shore: area 2", "Rope",
    // "Timer1: on, 3000 ms, Credits", "MIDI lantern.011".
    QStringList rows(Section section) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void frameOpened(const QString& frame);
    void variableEdited(QTableWidgetItem* item);
    static void setRows(QListWidget& list, const QStringList& rows);

    app::Runtime& m_rt;
    // The frame-opened hook that was there before this window's.
    std::function<void(const QString&)> m_before;
    QTableWidget* m_variables;
    QListWidget* m_removed;
    QListWidget* m_inventory;
    QListWidget* m_history;
    QListWidget* m_timers;
    QListWidget* m_playing;
    QTimer m_reading;
    QJsonObject m_shown;
    bool m_filling = false;
};

} // namespace authoring
