#pragma once

#include "platform/dialogs.h"

#include <QEvent>
#include <QPointF>
#include <QString>

namespace platform {

class FormWindow;
class SceneWindow;

// Watches a person's (or a script's) input where it enters the windows'
// named handlers: the presses, releases and keys of scene windows, the
// controls of dialogs, the menu items, and the answers of message boxes.
// Each input comes before its handlers run; inputEnds() follows once they
// have returned, where the window can tell.
class InputObserver {
public:
    virtual ~InputObserver() = default;

    // A press, release or double click at a point of the window's scene.
    virtual void pointerInput(SceneWindow& window, QEvent::Type type, Qt::MouseButton button, QPointF scenePos) = 0;
    virtual void keyInput(SceneWindow& window, int key, Qt::KeyboardModifiers modifiers) = 0;
    // "click" (a button; a list with "double"), "type" or "select" on a
    // dialog's named control.
    virtual void dialogInput(FormWindow& window, const QString& verb, const QString& control, const QString& text) = 0;
    // A menu item of the game window chosen: mnuExit, mnuSaveGame,
    // mnuFrameName(i).
    virtual void menuInput(const QString& item) = 0;
    virtual void inputEnds() = 0;
    virtual void answered(const MsgBox& box, MsgAnswer answer) = 0;
};

} // namespace platform
