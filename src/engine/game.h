#pragma once

#include "platform/scene_window.h"
#include "platform/timer.h"
#include "state/variables_collection.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace app {
class Runtime;
}

namespace engine {

// A menu item of the game window: hidden until the player asks for the menus.
struct MenuItem {
    QString caption;
    bool visible = false;
};

// The game window: the game picture with every element a frame creates, the
// timers of the frame engine, the menus, and the state of the game being
// played (variables, removed areas, inventory count, history).
class Game {
public:
    explicit Game(app::Runtime& rt);
    ~Game();

    platform::SceneWindow& window() { return *m_window; }
    platform::Element* element(const QString& name) const { return m_window->element(name); }

    // Game state shared with the other windows.
    state::VariablesCollection Variables;
    state::VariablesCollection Disappear;
    std::int16_t ObjectsCount = 0;
    std::int16_t DraggedObjectIndex = 0;
    std::int16_t InventoryDirection = 2;
    bool InventoryMoving = false;
    bool InventoryHeldOpen = false;
    bool StopVideoRequested = false;

    platform::Timer Timer1;
    platform::Timer TimerUnloadMe;
    platform::Timer TimerInventory;
    platform::Timer TimerMessageBox;
    platform::Timer MP3Timer;

    MenuItem mnuExit{QStringLiteral("Exit")};
    MenuItem mnuSaveGame{QStringLiteral("Save game")};
    MenuItem mnuDebug{QStringLiteral("Debug")};
    // The frames listed under the Debug menu.
    QStringList mnuFrameName;

    const QStringList& FramesHistory() const { return m_history; }

    void Form_Load();
    void show();
    void hideWindow();
    bool visible() const;

    // Frames
    void OpenFrame(const QString& name);
    void LoadFrameHeader(const QString& name);
    std::int16_t ReadFrameAreaCount();

    // History and the frame timer
    void FramesHistoryAdd(const QString& name);
    // Opens the previous frame of the history; nothing with fewer than two.
    void GoBack();
    void Timer1_Timer();

    // Reset and new game
    void ResetAll();
    void StartNewGame();

    // Variables
    void LoadVariables();
    void ChangeVariableValue(const QString& name, std::int16_t value);
    std::int16_t GetVariableValue(const QString& name) const;

    // Menus
    void ShowMenus();
    void HideMenus();

    // The frame's areas and texts.
    void ResetFrameAreas();
    void LoadAreas();
    void ShowOrNotShowAreas();
    void ResetFrameTexts();
    void LoadTexts();

private:
    struct FrameFields;
    void createElements();
    void present();
    void readFrameFields(FrameFields& f);
    void applyBackground();
    void refreshTilePainter();
    void armFrameTimer(const FrameFields& f);
    void reportFrameOpenFailure(const QString& name);
    void rebuildDebugMenu();

    app::Runtime& m_rt;
    std::unique_ptr<platform::SceneWindow> m_window;
    QStringList m_history;
    int m_pickedObjectElements = 1;
};

} // namespace engine
