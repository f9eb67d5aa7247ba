#pragma once

#include "engine/areas.h"
#include "engine/frame_record.h"
#include "engine/game_menus.h"
#include "engine/keyboard_focus.h"
#include "engine/player_menu.h"
#include "media/animated_pictures.h"
#include "media/frame_texts.h"
#include "media/text_messages.h"
#include "platform/scene_window.h"
#include "platform/timer.h"
#include "state/area_actions.h"
#include "state/inventory.h"
#include "state/inventory_bar.h"
#include "state/variables_collection.h"

#include <QCoreApplication>
#include <QRect>
#include <QString>
#include <QMap>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace app {
class Runtime;
}
namespace media {
class Media;
}

namespace engine {

// The game window: the game picture with every element a frame creates, the
// timers of the frame engine, the menus, and the state of the game being
// played (variables, removed areas, inventory count, history).
class Game {
    Q_DECLARE_TR_FUNCTIONS(engine::Game)

public:
    explicit Game(app::Runtime& rt);
    ~Game();

    platform::SceneWindow& window() { return *m_window; }
    // Sound, music and video of the run.
    media::Media& media();
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


    const QStringList& FramesHistory() const { return m_history; }
    // Replaces the history (a loaded game's).
    void setFramesHistory(const QStringList& history) { m_history = history; }

    void Form_Load();
    void show();
    void hideWindow();
    // Between full screen and a window (Alt+Enter).
    void toggleFullScreen();
    // The player's display options, at once: full screen or a window, and
    // the scaling of the game picture.
    void setDisplay(bool fullScreen, platform::Scaling scaling);
    // A PNG of the game picture into the player's screenshot folder, told
    // in a notice (F12).
    void takeScreenshot();
    // The player's pause (the Pause key): the clock and every sound, piece
    // and video hold where they are, the game takes no input but the keys
    // that end the pause, and a text over the game says so.
    void setPaused(bool paused);
    bool paused() const;
    // The player's menu (F10); the game holds while it is open.
    void openPlayerMenu();
    PlayerMenu& playerMenu() { return m_playerMenu; }
    // In a window of three quarters of the screen.
    void showWindowed();
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

    // Menus, keys and presses
    GameMenus& menus() { return m_menus; }
    const GameMenus& menus() const { return m_menus; }
    void ShowMenus();
    void HideMenus() { m_menus.HideMenus(); }
    void Form_KeyDown(int key);
    // Presses on the window itself, on the background picture, on a text:
    // button 1 left, 2 right.
    void Form_MouseDown(std::int16_t button);
    void BackImage_MouseDown(std::int16_t button) { Form_MouseDown(button); }
    void Text_MouseDown(std::int16_t index, std::int16_t button);
    void mnuExit_Click();
    void mnuSaveGame_Click();
    void TimerUnloadMe_Timer();
    void mnuFrameName_Click(const QString& frame);

    // The frame's areas and their animated pictures.
    Areas& areas() { return m_areas; }
    media::AnimatedPictures& animations() { return m_animations; }
    void ResetFrameAreas() { m_areas.ResetFrameAreas(); }
    void LoadAreas() { m_areas.LoadAreas(); }
    void ShowOrNotShowAreas() { m_areas.ShowOrNotShowAreas(); }

    // Actions
    std::int16_t MakeAction(std::int16_t area, std::int16_t object) { return m_actions.MakeAction(area, object); }
    // Starts a video in the picture or in its own rectangle: shows the game
    // window first, and clears StopVideoRequested.
    void PlayMovieWithStop(const QString& path, const QString& control);
    // Plays a cut-scene named relative to the frames folder, in the game
    // picture or in its own rectangle (pixels of the game picture).
    void PlayCutScene(const QString& file, bool inRect, const QRect& pixels);
    // Lets events run until the video ends or the player asks it to stop.
    void WaitForVideo();
    // Schedules MP3 music named relative to the frames folder: MP3Timer
    // starts it.
    void ScheduleMP3Music(const QString& file);
    void MP3Timer_Timer();

    // Texts, messages and the inventory.
    void ResetFrameTexts() { m_texts.ResetFrameTexts(); }
    void LoadTexts() { m_texts.LoadTexts(); }
    void ShowTextMessage(const QString& text, bool inStrip) { m_messages.ShowTextMessage(text, inStrip); }
    void FrameMessageBox_Click() { m_messages.closeStrip(); }
    state::Inventory& inventory() { return m_inventory; }
    state::InventoryBar& inventoryBar() { return m_bar; }
    // Play without a mouse: the ring that Tab moves.
    KeyboardFocus& keyboardFocus() { return m_focus; }
    void PickOrNotPickObject(std::int16_t area) { m_inventory.PickOrNotPickObject(area); }
    void AddPickedObject(const QString& name) { m_inventory.AddPickedObject(name); }
    void RemovePickedObject(std::int16_t index) { m_inventory.RemovePickedObject(index); }
    // The object name that PickedObject element i holds; throws Failure
    // when there is no such element.
    QString PickedObjectTag(std::int16_t index) const { return m_inventory.Tag(index); }

    // Closing the window: media stops, the display is restored and the
    // welcome window comes back.
    void Form_Unload();

private:
    // Holds or releases the clock and the media, with a text over the game
    // while held (none: the game is held without one).
    void hold(bool held, const QString& text);
    void playerMenuChosen(PlayerMenu::Item item);
    // Lets the game go on after the player's menu, or what it opened.
    void endMenuHold();

    // Builds the window's fixed elements; returns the game picture.
    static platform::Element* createElements(platform::SceneWindow& window);
    void present();
    void readFrameFields(FrameFields& f);
    void applyBackground();
    void refreshTilePainter();
    void armFrameTimer(const FrameFields& f);
    void reportFrameOpenFailure(const QString& name);
    void rebuildDebugMenu();
    // The surface videos draw on: a child of the parent element a handle
    // names, at the picture's size from its corner, above the frame.
    void showVideoPicture(qint64 parent, const QImage& picture);
    void hideVideoPicture();

    app::Runtime& m_rt;
    std::unique_ptr<platform::SceneWindow> m_window;
    GameMenus m_menus;
    PlayerMenu m_playerMenu;
    // Whether the player had paused the game before opening the menu: then
    // the game stays paused when the menu closes.
    bool m_pausedBeforeMenu = false;
    media::AnimatedPictures m_animations;
    Areas m_areas;
    state::AreaActions m_actions;
    media::FrameTexts m_texts;
    media::TextMessages m_messages;
    state::InventoryBar m_bar;
    state::Inventory m_inventory;
    KeyboardFocus m_focus;
    QStringList m_history;

};

} // namespace engine
