#include "platform/form_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>

namespace platform {

namespace {
QRect toPixels(QRect twips)
{
    return QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15);
}
} // namespace

FormWindow::FormWindow(QString name, QWidget* parent) : QWidget(parent, Qt::Dialog), m_name(std::move(name))
{
    setObjectName(m_name);
}

void FormWindow::setClientSizeTwips(int width, int height)
{
    setFixedSize(width / 15, height / 15);
}

void FormWindow::centreOn(QSize screen)
{
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

QLabel* FormWindow::addLabel(const QString& name, QRect twips, const QString& text)
{
    auto* label = new QLabel(text, this); // owned by the window
    label->setObjectName(name);
    label->setGeometry(toPixels(twips));
    label->setWordWrap(true);
    m_controls[name] = label;
    return label;
}

QLineEdit* FormWindow::addTextBox(const QString& name, QRect twips)
{
    auto* edit = new QLineEdit(this); // owned by the window
    edit->setObjectName(name);
    edit->setGeometry(toPixels(twips));
    QObject::connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) { input(QStringLiteral("type"), name, text, {}); });
    m_controls[name] = edit;
    return edit;
}

QListWidget* FormWindow::addList(const QString& name, QRect twips)
{
    auto* list = new QListWidget(this); // owned by the window
    list->setObjectName(name);
    list->setGeometry(toPixels(twips));
    QObject::connect(list, &QListWidget::itemClicked, this, [this, name](QListWidgetItem* item) {
        if (item)
            input(QStringLiteral("select"), name, item->text(), QStringLiteral("itemClick"));
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, this,
                     [this, name](QListWidgetItem*) { input(QStringLiteral("click"), name, QStringLiteral("double"), QStringLiteral("itemDoubleClick")); });
    m_controls[name] = list;
    return list;
}

QComboBox* FormWindow::addComboBox(const QString& name, QRect twips)
{
    auto* combo = new QComboBox(this); // owned by the window
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setGeometry(toPixels(twips));
    QObject::connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, name](const QString& text) { input(QStringLiteral("type"), name, text, {}); });
    QObject::connect(combo, &QComboBox::activated, this, [this, name, combo](int index) { input(QStringLiteral("select"), name, combo->itemText(index), {}); });
    m_controls[name] = combo;
    return combo;
}

QComboBox* FormWindow::addChoiceBox(const QString& name, QRect twips, const QStringList& items)
{
    auto* combo = new QComboBox(this); // owned by the window
    combo->setObjectName(name);
    combo->addItems(items);
    combo->setGeometry(toPixels(twips));
    QObject::connect(combo, &QComboBox::activated, this, [this, name, combo](int index) { input(QStringLiteral("select"), name, combo->itemText(index), {}); });
    m_controls[name] = combo;
    return combo;
}

QCheckBox* FormWindow::addCheckBox(const QString& name, QRect twips, const QString& text)
{
    auto* box = new QCheckBox(text, this); // owned by the window
    box->setObjectName(name);
    box->setGeometry(toPixels(twips));
    QObject::connect(box, &QCheckBox::clicked, this, [this, name] { input(QStringLiteral("click"), name, QString(), QStringLiteral("click")); });
    m_controls[name] = box;
    return box;
}

QSpinBox* FormWindow::addNumberBox(const QString& name, QRect twips, int minimum, int maximum, const QString& unit)
{
    auto* box = new QSpinBox(this); // owned by the window
    box->setObjectName(name);
    box->setRange(minimum, maximum);
    box->setSuffix(unit);
    box->setGeometry(toPixels(twips));
    QObject::connect(box, &QSpinBox::valueChanged, this, [this, name, box] {
        // A script's number is told where it is typed; a person's here.
        if (box->hasFocus())
            input(QStringLiteral("type"), name, QString::number(box->value()), {});
    });
    m_controls[name] = box;
    return box;
}

QPushButton* FormWindow::addButton(const QString& name, QRect twips, const QString& text)
{
    auto* button = new QPushButton(text, this); // owned by the window
    button->setObjectName(name);
    button->setGeometry(toPixels(twips));
    QObject::connect(button, &QPushButton::clicked, this, [this, name] { input(QStringLiteral("click"), name, QString(), QStringLiteral("click")); });
    m_controls[name] = button;
    return button;
}

QWidget* FormWindow::control(const QString& name) const
{
    auto it = m_controls.find(name);
    return it == m_controls.end() ? nullptr : it->second;
}

void FormWindow::showModal(bool scripted)
{
    m_loaded = true;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    if (scripted || m_inModalLoop)
        return;
    m_inModalLoop = true;
    QEventLoop loop;
    while (isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    m_inModalLoop = false;
}

void FormWindow::unload()
{
    m_loaded = false;
    hide();
}

void FormWindow::onClick(const QString& button, Handler handler)
{
    m_handlers[handlerKey(button, QStringLiteral("click"))] = std::move(handler);
}

void FormWindow::onItemClick(const QString& list, Handler handler)
{
    m_handlers[handlerKey(list, QStringLiteral("itemClick"))] = std::move(handler);
}

void FormWindow::onItemDoubleClick(const QString& list, Handler handler)
{
    m_handlers[handlerKey(list, QStringLiteral("itemDoubleClick"))] = std::move(handler);
}

void FormWindow::input(const QString& verb, const QString& control, const QString& text, const QString& event)
{
    inputDoing(verb, control, text, [this, &control, &event] {
        if (event.isEmpty())
            return;
        // A copy: the handler may replace itself.
        const auto found = m_handlers.find(handlerKey(control, event));
        if (found != m_handlers.end() && found->second) {
            const Handler handler = found->second;
            handler();
        }
    });
}

void FormWindow::inputDoing(const QString& verb, const QString& control, const QString& text, const std::function<void()>& action)
{
    // The observer of this input hears of its end, even when a handler
    // changes who watches.
    InputObserver* const observer = m_inputDepth == 0 ? m_observer : nullptr;
    if (observer)
        observer->dialogInput(*this, verb, control, text);
    ++m_inputDepth;
    action();
    --m_inputDepth;
    if (observer)
        observer->inputEnds();
}

bool FormWindow::typeText(const QString& name, const QString& text)
{
    auto* edit = qobject_cast<QLineEdit*>(control(name));
    auto* combo = qobject_cast<QComboBox*>(control(name));
    auto* number = qobject_cast<QSpinBox*>(control(name));
    if (combo && !combo->isEditable())
        return false;
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    if (number && (!isNumber || value < number->minimum() || value > number->maximum()))
        return false;
    if (!edit && !combo && !number)
        return false;
    // Text set by a script changes no text box as a person's typing does:
    // the observer is told here.
    if (m_observer)
        m_observer->dialogInput(*this, QStringLiteral("type"), name, text);
    if (edit)
        edit->setText(text);
    else if (combo)
        combo->setEditText(text);
    else
        number->setValue(value);
    if (m_observer)
        m_observer->inputEnds();
    return true;
}

bool FormWindow::click(const QString& name)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control(name)); button && button->isVisible() && button->isEnabled()) {
        button->click();
        return true;
    }
    return false;
}

bool FormWindow::select(const QString& name, const QString& item)
{
    if (auto* list = qobject_cast<QListWidget*>(control(name))) {
        const auto found = list->findItems(item, Qt::MatchExactly);
        if (found.isEmpty())
            return false;
        list->setCurrentItem(found.front());
        emit list->itemClicked(found.front());
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control(name))) {
        const int index = combo->findText(item);
        if (index < 0)
            return false;
        // Choosing by index emits no activated(): the observer is told here.
        if (m_observer)
            m_observer->dialogInput(*this, QStringLiteral("select"), name, item);
        combo->setCurrentIndex(index);
        if (m_observer)
            m_observer->inputEnds();
        return true;
    }
    return false;
}

bool FormWindow::doubleClick(const QString& name)
{
    if (auto* list = qobject_cast<QListWidget*>(control(name)); list && list->currentItem()) {
        emit list->itemDoubleClicked(list->currentItem());
        return true;
    }
    return false;
}

bool FormWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && onActivate)
        onActivate();
    return QWidget::event(event);
}

void FormWindow::setDialogKeys(const QString& defaultButton, const QString& cancelButton)
{
    m_dialogKeys = true;
    m_defaultButton = defaultButton;
    m_cancelButton = cancelButton;
    if (auto* button = qobject_cast<QPushButton*>(control(defaultButton)))
        button->setDefault(true);
    // Set now, not left to the window's activation, which a scripted run's
    // offscreen windows may never get.
    if (!focusWidget()) {
        for (QWidget* next = nextInFocusChain(); next && next != this; next = next->nextInFocusChain()) {
            if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && !next->isHidden()) {
                next->setFocus();
                break;
            }
        }
    }
}

bool FormWindow::keyDown(int key)
{
    if (!m_dialogKeys)
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Through click() and doubleClick(), so that the observer hears of
        // the button or item, as of a click of the mouse.
        QWidget* focus = focusWidget();
        if (auto* button = qobject_cast<QPushButton*>(focus))
            return click(button->objectName());
        if (auto* list = qobject_cast<QListWidget*>(focus); list && list->currentItem() && list->currentItem()->isSelected())
            return doubleClick(list->objectName());
        return click(m_defaultButton);
    }
    if (key == Qt::Key_Escape) {
        if (!m_cancelButton.isEmpty())
            return click(m_cancelButton);
        close();
        return true;
    }
    return false;
}

void FormWindow::keyPressEvent(QKeyEvent* event)
{
    // Return and Escape are keys a script names: the observer hears of the
    // key, not of the button it presses.
    const int key = event->key();
    const bool named = m_dialogKeys && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape);
    bool handled = false;
    if (named) {
        const QWidget* focus = focusWidget();
        inputDoing(QStringLiteral("key"), focus ? focus->objectName() : QString(), key == Qt::Key_Escape ? QStringLiteral("Escape") : QStringLiteral("Enter"),
              [&] { handled = keyDown(key); });
    } else {
        handled = keyDown(key);
    }
    if (!handled)
        QWidget::keyPressEvent(event);
}

void FormWindow::closeEvent(QCloseEvent* event)
{
    // The window's close box is its Cancel.
    m_loaded = false;
    if (onClose)
        onClose();
    event->accept();
}

} // namespace platform
