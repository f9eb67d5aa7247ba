#pragma once

#include "platform/input_observer.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <map>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QCheckBox;
class QComboBox;
class QSpinBox;

namespace platform {

// A dialog window of ordinary controls (labels, a text box, a list, a
// drop-down list, buttons) placed in twips as the games' dialogs were
// designed. Controls are named as the runtime named them, so scripts and
// tests reach them by name; their signals hand off to the named handlers.
// Every input, a person's or a script's, reaches the input observer before
// its handler runs, and its end once the handler has returned.
class FormWindow : public QWidget {
public:
    explicit FormWindow(QString name, QWidget* parent = nullptr);

    const QString& name() const { return m_name; }

    // Client size in twips.
    void setClientSizeTwips(int width, int height);
    void centreOn(QSize screenPixels);

    QLabel* addLabel(const QString& name, QRect twips, const QString& text);
    QLineEdit* addTextBox(const QString& name, QRect twips);
    QListWidget* addList(const QString& name, QRect twips);
    QComboBox* addComboBox(const QString& name, QRect twips);
    // A drop-down list whose items are all there is: nothing can be typed.
    QComboBox* addChoiceBox(const QString& name, QRect twips, const QStringList& items);
    QPushButton* addButton(const QString& name, QRect twips, const QString& text);
    QCheckBox* addCheckBox(const QString& name, QRect twips, const QString& text);
    // A number from minimum to maximum, shown with its unit after it.
    QSpinBox* addNumberBox(const QString& name, QRect twips, int minimum, int maximum, const QString& unit);

    QWidget* control(const QString& name) const;
    const std::map<QString, QWidget*>& controls() const { return m_controls; }

    // Shows the window modally: a person's input goes to it alone until it
    // closes. A scripted run shows it and returns at once; the script then
    // talks to it as the active window.
    void showModal(bool scripted);
    // Closes the window (the runtime's Unload).
    void unload();
    bool loaded() const { return m_loaded; }

    // What a person does, by control name; false when there is no such
    // control or it cannot take the action. Clicking a check box turns it
    // over; typing into a number box sets its number.
    bool typeText(const QString& control, const QString& text);
    bool click(const QString& control);
    bool select(const QString& control, const QString& item);
    bool doubleClick(const QString& control);

    // The named handlers of the controls: a button clicked, a list's item
    // clicked or double-clicked.
    using Handler = std::function<void()>;
    void onClick(const QString& button, Handler handler);
    void onItemClick(const QString& list, Handler handler);
    void onItemDoubleClick(const QString& list, Handler handler);

    // The keys of a desktop dialog. Return presses the focused button; on a
    // list whose chosen item has the focus it acts as a double click on it;
    // anywhere else it presses the default button. Escape presses the cancel
    // button, or, for a window without one, closes it as its close box does.
    // The first control takes the focus, and Tab moves it from control to
    // control with Qt's own focus frame. Windows that never call this keep
    // keys to their controls alone.
    void setDialogKeys(const QString& defaultButton, const QString& cancelButton = QString());
    // A key that reached the window from its controls or itself; false when
    // the window leaves it alone.
    bool keyDown(int key);

    std::function<void()> onActivate;
    std::function<void()> onClose;

    // Who watches the input that enters this window (nullptr: nobody).
    void setInputObserver(InputObserver* observer) { m_observer = observer; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // One input: the observer hears of it, the handler named by the event
    // of the control runs, the observer hears of its end. An input that
    // another one of this window causes (Return pressing the default
    // button) is part of it: the observer hears only of the first.
    void input(const QString& verb, const QString& control, const QString& text, const QString& event);
    void inputDoing(const QString& verb, const QString& control, const QString& text, const std::function<void()>& action);
    static QString handlerKey(const QString& control, const QString& event) { return control + u'/' + event; }

    QString m_name;
    InputObserver* m_observer = nullptr;
    std::map<QString, QWidget*> m_controls;
    std::map<QString, Handler> m_handlers;
    bool m_loaded = true;
    bool m_inModalLoop = false;
    int m_inputDepth = 0;
    bool m_dialogKeys = false;
    QString m_defaultButton;
    QString m_cancelButton;
};

} // namespace platform
