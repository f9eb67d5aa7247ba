#include "engine/game.h"

#include "app/frm_welcome.h"
#include "app/runtime.h"
#include "base/color.h"
#include "base/failure.h"
#include "base/units.h"
#include "engine/cursors.h"
#include "engine/frame_record.h"
#include "engine/screenshots.h"
#include "media/media.h"
#include "media/mmedia.h"
#include "platform/paint_hold.h"
#include "run/display_settings.h"
#include "run/media_names.h"
#include "saves/frm_save_game.h"
#include "state/variables_list.h"

#include <QFontMetrics>
#include <QJsonObject>
#include <QScopeGuard>

#include <cmath>

namespace engine {

namespace {

using Kind = platform::Element::Kind;

const QString kBrokenLink = QStringLiteral(
    " A program link is broken. Verify that the 'Initial Frame' exists and that the 'Go to another frame' option in the Area Properties is linked to an existing frame.");

} // namespace

Game::Game(app::Runtime& rt)
    : Timer1(rt.clock(), QStringLiteral("Timer1"), 0)
    , TimerUnloadMe(rt.clock(), QStringLiteral("TimerUnloadMe"), 100)
    , TimerInventory(rt.clock(), QStringLiteral("TimerInventory"), 2000)
    , TimerMessageBox(rt.clock(), QStringLiteral("TimerMessageBox"), 0)
    , MP3Timer(rt.clock(), QStringLiteral("MP3Timer"), 1000)
    , m_rt(rt)
    , m_window(std::make_unique<platform::SceneWindow>(QStringLiteral("Game")))
    , m_menus(*m_window, rt.options().debug)
    , m_playerMenu(*m_window)
    , m_animations(rt, *m_window, *createElements(*m_window))
    , m_areas(rt, *this, m_animations)
    , m_actions(rt, *this)
    , m_texts(rt, *m_window, *element(QStringLiteral("PictureBox")))
    , m_messages(rt, *m_window, TimerMessageBox)
    , m_bar(rt, *this)
    , m_inventory(rt, *this, m_bar)
    , m_focus(rt, *this, rt.options().focusRing)
{
    m_window->setBackground(Qt::black);
    Timer1.onTimer([this] { Timer1_Timer(); });
    TimerUnloadMe.onTimer([this] { TimerUnloadMe_Timer(); });
    m_menus.onExit = [this] { mnuExit_Click(); };
    m_menus.onSaveGame = [this] { mnuSaveGame_Click(); };
    m_menus.onFrame = [this](const QString& frame) { mnuFrameName_Click(frame); };
    m_playerMenu.onChoose = [this](PlayerMenu::Item item) { playerMenuChosen(item); };
    m_window->onKeyDown = [this](int key, Qt::KeyboardModifiers modifiers) {
        // Alt+Enter switches between full screen and a window, as players
        // of other engines expect; the game itself never sees it.
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (modifiers & Qt::AltModifier)) {
            toggleFullScreen();
            return;
        }
        // F10, F12 and Pause are the player's, like Alt+Enter: the game
        // never sees them, nor any other key while it is paused (Escape
        // ends the pause too).
        if (m_playerMenu.isOpen()) {
            // The menu takes a person's keys itself; a script's reach the
            // window under it.
            if (key == Qt::Key_Escape || key == Qt::Key_F10)
                m_playerMenu.close();
            return;
        }
        if (key == Qt::Key_F10) {
            openPlayerMenu();
            return;
        }
        if (key == Qt::Key_F12) {
            takeScreenshot();
            return;
        }
        if (key == Qt::Key_Pause || (paused() && key == Qt::Key_Escape)) {
            setPaused(!paused());
            return;
        }
        if (!paused() && !m_focus.keyDown(key, modifiers))
            Form_KeyDown(key);
    };
    // A player who takes the mouse again has no use for the ring.
    m_window->onPointerMoved = [this] { m_focus.clear(); };
    m_focus.onObjectFocused = [this](const QString& name) { m_rt.readAloud(name); };
    m_window->onBackgroundPress = [this](Qt::MouseButton button) { Form_MouseDown(button == Qt::RightButton ? 2 : 1); };
    m_window->onCloseRequest = [this] {
        // The system's close command unloads the window like any other way out.
        Form_Unload();
        return false;
    };
    element(QStringLiteral("BackImage"))->onPress = [this](Qt::MouseButton button, QPointF) {
        BackImage_MouseDown(button == Qt::RightButton ? 2 : 1);
    };
    TimerMessageBox.onTimer([this] { m_messages.closeStrip(); });
    MP3Timer.onTimer([this] { MP3Timer_Timer(); });
    TimerInventory.onTimer([this] { m_bar.TimerInventory_Timer(); });
    for (const char* name : {"FrameMessageBox", "LabelMessageBox"}) {
        element(QString::fromLatin1(name))->onClick = [this](Qt::MouseButton button) {
            if (button == Qt::LeftButton)
                FrameMessageBox_Click();
        };
    }
    // Pointer moves over the inventory open the bar; over the frame they close it.
    for (const char* name : {"Inventory1", "Inventory2", "Inventory_Background"})
        element(QString::fromLatin1(name))->onMove = [this](Qt::MouseButtons, QPointF) { m_bar.PointerMoved(1); };
    for (const char* name : {"BackImage", "CutSceneArea", "FrameMessageBox", "LabelMessageBox"})
        element(QString::fromLatin1(name))->onMove = [this](Qt::MouseButtons, QPointF) { m_bar.PointerMoved(2); };
    m_texts.onPress = [this](int index, int button) { Text_MouseDown(static_cast<std::int16_t>(index), static_cast<std::int16_t>(button)); };
    m_texts.onMove = [this](int) { m_bar.PointerMoved(2); };
    element(QStringLiteral("Inventory2"))->setPicture(state::InventoryBar::BuiltInTab());
    m_rt.media().setGameWindow(m_window.get(), {[this](qint64 parent, const QImage& picture) { showVideoPicture(parent, picture); },
                                                [this] { hideVideoPicture(); }});
}

Game::~Game()
{
    m_rt.media().setGameWindow(nullptr, {});
}

media::Media& Game::media()
{
    return m_rt.media();
}

platform::Element* Game::createElements(platform::SceneWindow& w)
{
    platform::Element* picture = w.create(Kind::Picture, QStringLiteral("PictureBox"));
    w.create(Kind::Image, QStringLiteral("BackImage"), picture)->setStretch(true);
    w.create(Kind::Image, QStringLiteral("ImageTile"), picture)->setShown(false);
    w.create(Kind::Image, QStringLiteral("Area(0)"), picture)->setShown(false);
    platform::Element* gifBox = w.create(Kind::Picture, QStringLiteral("AniGifBox(0)"), picture);
    gifBox->setShown(false);
    gifBox->setBackColor(Qt::transparent);
    gifBox->setGeometryTwips(0, 0, 480, 480);
    platform::Element* textTemplate = w.create(Kind::Label, QStringLiteral("Text(0)"), picture);
    textTemplate->setShown(false);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(24);
    arial.setBold(true);
    textTemplate->setFont(arial);
    platform::Element* cutScene = w.create(Kind::Picture, QStringLiteral("CutSceneArea"), picture);
    cutScene->setShown(false);
    platform::Element* strip = w.create(Kind::Picture, QStringLiteral("FrameMessageBox"), picture);
    strip->setShown(false);
    platform::Element* message = w.create(Kind::Label, QStringLiteral("LabelMessageBox"), strip);
    message->setShown(false);
    QFont sansSerif(QStringLiteral("MS Sans Serif"));
    sansSerif.setPointSizeF(12);
    sansSerif.setBold(true);
    message->setFont(sansSerif);
    message->setGeometryTwips(1545, 240, 465, 300);
    message->setForeColor(Qt::white);
    message->setAlignment(Qt::AlignCenter);
    platform::Element* bar = w.create(Kind::Picture, QStringLiteral("Inventory1"), picture);
    bar->setShown(false);
    w.create(Kind::Image, QStringLiteral("Inventory_Background"), bar)->setStretch(true);
    w.create(Kind::Image, QStringLiteral("PickedObject(0)"), bar)->setShown(false);
    w.create(Kind::Image, QStringLiteral("Inventory2"), picture)->setShown(false);
    return picture;
}

void Game::present()
{
    // The window covers the real screen; the game sees the display mode,
    // scaled to fill the screen when the mode was switched.
    m_window->resize(m_rt.display.realScreen());
    m_window->setScaleToFill(m_rt.display.switched());
    m_window->setScaling(m_rt.options().scaling);
    m_window->setSceneSize(run::GetScreenWidth(m_rt), run::GetScreenHeight(m_rt));
}

void Game::Form_Load()
{
    present();
    m_window->setWindowTitle(m_rt.project.GameName);
    if (!m_rt.strings(8).isEmpty())
        m_menus.mnuSaveGame.caption = m_rt.strings(8);
    if (!m_rt.strings(12).isEmpty())
        m_menus.mnuExit.caption = m_rt.strings(12);
    m_menus.sync();
}

void Game::show()
{
    present();
    if (m_rt.options().scripted)
        m_window->show();
    else if (m_rt.options().fullScreen || m_window->isFullScreen())
        m_window->showFullScreen();
    else
        showWindowed();
    m_window->raise();
    m_window->activateWindow();
}

void Game::toggleFullScreen()
{
    if (m_window->isFullScreen()) {
        showWindowed();
    } else {
        m_window->showFullScreen();
    }
}

void Game::setDisplay(bool fullScreen, platform::Scaling scaling)
{
    m_window->setScaling(scaling);
    if (!m_rt.options().scripted && m_window->isVisible() && fullScreen != m_window->isFullScreen())
        toggleFullScreen();
}

void Game::takeScreenshot()
{
    const QString folder = m_rt.options().screenshotFolder;
    if (folder.isEmpty()) {
        m_rt.notices.notice(tr("No folder for screenshots: the screenshot is not saved."));
        return;
    }
    try {
        const QString path = Screenshots(folder).save(m_window->picture(), m_rt.project.GameName, m_rt.clock().now());
        m_rt.notices.notice(tr("Screenshot saved: %1").arg(path));
    } catch (const base::Failure& failure) {
        m_rt.notices.notice(tr("The screenshot is not saved: %1").arg(QString::fromUtf8(failure.what())));
    }
}

bool Game::paused() const
{
    return m_rt.clock().held();
}

void Game::setPaused(bool paused)
{
    hold(paused, paused ? tr("Paused\nPress Pause or Escape to go on.") : QString());
}

void Game::hold(bool held, const QString& text)
{
    m_window->showHeld(text);
    if (held == paused())
        return;
    m_rt.clock().hold(held);
    m_rt.media().hold(held);
    m_rt.notices.detail(held ? QStringLiteral("Paused") : QStringLiteral("Going on"));
}

void Game::openPlayerMenu()
{
    if (m_playerMenu.isOpen())
        return;
    m_pausedBeforeMenu = paused();
    // The menu says enough: no pause text under it.
    hold(true, QString());
    m_playerMenu.open();
}

void Game::playerMenuChosen(PlayerMenu::Item item)
{
    using Item = PlayerMenu::Item;
    // The game stays held while the Options are open.
    if (item == Item::Options) {
        m_rt.showOptions([this] { endMenuHold(); });
        return;
    }
    endMenuHold();
    switch (item) {
    case Item::Resume:
    case Item::Options:
        break;
    case Item::TakeScreenshot:
        takeScreenshot();
        break;
    case Item::FullScreen:
        toggleFullScreen();
        break;
    case Item::BackToChooser:
    case Item::Quit:
        m_rt.setAfterEnd(item == Item::Quit ? app::Runtime::AfterEnd::Quit : app::Runtime::AfterEnd::ChooseAGame);
        m_rt.EndFromOutside();
        break;
    }
}

void Game::endMenuHold()
{
    // A pause the player made before the menu outlasts it.
    if (m_pausedBeforeMenu)
        setPaused(true);
    else
        hold(false, QString());
}

void Game::showWindowed()
{
    m_window->showNormal();
    const QSize screen = m_rt.display.realScreen();
    m_window->resize(screen * 3 / 4);
}

void Game::hideWindow()
{
    m_window->hide();
}

bool Game::visible() const
{
    return m_window->isVisible();
}

// ---------------------------------------------------------------- frames

void Game::LoadFrameHeader(const QString& name)
{
    run::FrameHeader& h = m_rt.frame;
    h.CurrentFrameName = name;
    try {
        auto reader = m_rt.openReader(m_rt.project.FramesPath + name + QStringLiteral(".fme"));
        ReadFrameBackground(reader, h);
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to load the frame called '") + name + QStringLiteral("'."));
        return;
    }
    ReadFrameAreaCount();
}

std::int16_t Game::ReadFrameAreaCount()
{
    run::FrameHeader& h = m_rt.frame;
    try {
        auto reader = m_rt.openReader(m_rt.project.FramesPath + h.CurrentFrameName + QStringLiteral(".lks"));
        h.FrameAreaCount = ReadFrameLinks(reader);
    } catch (const base::Failure&) {
        h.FrameAreaCount = 0;
    }
    return h.FrameAreaCount;
}

void Game::readFrameFields(FrameFields& f)
{
    auto reader = m_rt.openReader(m_rt.project.FramesPath + m_rt.frame.CurrentFrameName + QStringLiteral(".fme"));
    reader.skip();
    reader.skip();
    reader.skip();
    ReadFrameFields(reader, f);
}

void Game::reportFrameOpenFailure(const QString& name)
{
    m_rt.ShowErrorReport(QStringLiteral(" Unable to load the frame called '") + name
                         + QStringLiteral("'. Verify that the 'Initial Frame' exists and that the 'Go to another frame' option in the Area Properties is linked to an existing frame."));
}

void Game::refreshTilePainter()
{
    platform::Element* picture = element(QStringLiteral("PictureBox"));
    const platform::Element* tile = element(QStringLiteral("ImageTile"));
    picture->setTile(m_rt.frame.FrameBackgroundTiled && tile->hasPicture() ? tile->picture() : QImage());
}

void Game::applyBackground()
{
    const run::FrameHeader& h = m_rt.frame;
    platform::Element* picture = element(QStringLiteral("PictureBox"));
    platform::Element* back = element(QStringLiteral("BackImage"));
    platform::Element* tile = element(QStringLiteral("ImageTile"));
    if (h.FrameBackgroundMode == 0) {
        if (back->hasPicture())
            back->clearPicture();
        if (tile->hasPicture())
            tile->clearPicture();
        const double value = formats::QuotedFieldReader::leadingNumber(h.FrameBackground);
        if (value < -2147483648.0 || value > 2147483647.0)
            throw base::Failure("Overflow: colour");
        const QColor colour = base::ColorFromBgr(static_cast<std::int32_t>(std::nearbyint(value)));
        if (colour != picture->backColor())
            picture->setBackColor(colour);
    } else if (h.FrameBackgroundMode == 1) {
        const QString path = run::MapMediaFileName(m_rt, m_rt.project.FramesPath + h.FrameBackground);
        if (h.FrameBackgroundTiled) {
            tile->setPicture(m_rt.LoadPicture(path));
            if (back->hasPicture())
                back->clearPicture();
        } else {
            if (tile->hasPicture())
                tile->clearPicture();
            back->setPicture(m_rt.LoadPicture(path));
        }
    }
    refreshTilePainter();
}

void Game::armFrameTimer(const FrameFields& f)
{
    bool failed = !base::SkipOnFailure([&] { Timer1.setTag(f.timerTarget); });
    failed |= !base::SkipOnFailure([&] { Timer1.setEnabled(true); });
    failed |= !base::SkipOnFailure([&] { Timer1.setInterval(FrameTimerInterval(f.timerDuration)); });
    if (failed)
        m_rt.ShowErrorReport(QStringLiteral(" Unable to load timer duration."));
}

void Game::OpenFrame(const QString& name)
{
    const run::Project& p = m_rt.project;
    media::Media& media = m_rt.media();
    m_rt.notices.detail(QStringLiteral("opens the frame %1").arg(name));
    // Told however the open ends, a failure included.
    const auto told = qScopeGuard([this, opened = name] {
        if (m_rt.onFrameOpened)
            m_rt.onFrameOpened(opened);
    });
    // The open goes on after a broken link: its own reads then fail.
    if (name.isEmpty() || !m_rt.files.fileExists(p.FramesPath + name + QStringLiteral(".fme")))
        m_rt.ShowErrorReport(kBrokenLink);
    // The media calls and the animations let events run while the frame is
    // built: the window keeps showing the last frame until this one is whole.
    platform::PaintHold buildingFrame(*m_window);
    m_focus.clear();
    m_rt.frame.ClearFrameHeader();
    LoadFrameHeader(name);
    refreshTilePainter();
    FrameFields f;
    bool noNewMidi = true;
    try {
        Timer1.setEnabled(false);
        Timer1.setInterval(0);
        FramesHistoryAdd(name);
        readFrameFields(f);
        const bool mp3WasPlaying = media.IsMP3Playing();
        const bool midiWasPlaying = media.MidiStatus() == QLatin1String("playing");
        if (f.silenceChannels)
            media.ReleaseWaveMix();
        if (f.mp3File.isEmpty() && f.stopMp3) {
            MP3Timer.setEnabled(false);
            media.StopMP3();
        }
        if (f.stopMidi && midiWasPlaying)
            media.StopMIDIMusic();
        // Music that plays on is left alone, even when this frame names another piece.
        noNewMidi = f.midiFile.isEmpty() || (midiWasPlaying && !f.stopMidi);
        const bool midiAfterVideo = !f.videoFile.isEmpty() && f.midiAfterVideo;
        if (!noNewMidi && !midiAfterVideo)
            media.PlayMIDImusic(run::MapMediaFileName(m_rt, p.FramesPath + f.midiFile), f.repeatMidi);
        // The video plays while the rest of the frame is built.
        platform::Element* cutScene = element(QStringLiteral("CutSceneArea"));
        if (!f.videoFile.isEmpty()) {
            cutScene->setShown(false);
            media.StopMovie();
            StopVideoRequested = true;
            HideMenus();
            StopVideoRequested = false;
            cutScene->setShown(false);
            PlayCutScene(f.videoFile, f.videoInRect, QRect(f.rectLeft, f.rectTop, f.rectWidth, f.rectHeight));
        }
        ResetFrameTexts();
        ResetFrameAreas();
        applyBackground();
        LoadTexts();
        if (ReadFrameAreaCount() > 0)
            LoadAreas();
        ShowOrNotShowAreas();
        // The inventory stays above the new frame.
        for (int i = 1; i <= ObjectsCount; ++i) {
            if (platform::Element* object = element(QStringLiteral("PickedObject(%1)").arg(i)))
                object->bringToFront();
        }
        element(QStringLiteral("Inventory2"))->bringToFront();
        element(QStringLiteral("Inventory1"))->bringToFront();
        element(QStringLiteral("PictureBox"))->setShown(true);
        buildingFrame.release();
        WaitForVideo();
        cutScene->setShown(false);
        media.StopMovie();
        StopVideoRequested = false;
        // Sounds, deferred music and the timer start once the video is over.
        if (!f.silenceChannels && !mp3WasPlaying)
            media.PlaySoundChannels(p.FramesPath + m_rt.frame.CurrentFrameName + QStringLiteral(".chn"));
        if (!f.videoFile.isEmpty() && !noNewMidi && f.midiAfterVideo)
            media.PlayMIDImusic(run::MapMediaFileName(m_rt, p.FramesPath + f.midiFile), f.repeatMidi);
    } catch (const base::Failure&) {
        buildingFrame.release();
        reportFrameOpenFailure(name);
        return;
    }
    if (f.hasTimer)
        armFrameTimer(f);
    try {
        if (!f.mp3File.isEmpty())
            ScheduleMP3Music(f.mp3File);
    } catch (const base::Failure&) {
        reportFrameOpenFailure(name);
    }
}

// ---------------------------------------------------------------- history and timer

void Game::FramesHistoryAdd(const QString& name)
{
    if (!m_history.isEmpty() && m_history.back() == name)
        return;
    m_history.push_back(name);
    while (m_history.size() >= 21)
        m_history.pop_front();
}

void Game::GoBack()
{
    if (m_history.size() < 2)
        return;
    m_history.pop_back();
    OpenFrame(m_history.back());
}

void Game::Timer1_Timer()
{
    try {
        const QString target = Timer1.tag();
        const QString t = target.toLower();
        if (t.isEmpty())
            return;
        if (IsLastVisitedFrame(t))
            GoBack();
        else
            OpenFrame(target);
    } catch (const std::exception&) {
        // A failure inside the timer event ends it silently.
    }
}

// ---------------------------------------------------------------- reset

void Game::ResetAll()
{
    const run::Project& p = m_rt.project;
    try {
        for (std::int32_t n = Variables.Count(); n > 0; --n)
            Variables.Remove(1);
        for (std::int32_t n = Disappear.Count(); n > 0; --n)
            Disappear.Remove(1);
        m_inventory.reset();
        m_history.clear();
        m_window->setBackground(Qt::black);
        platform::Element* picture = element(QStringLiteral("PictureBox"));
        picture->setBackColor(Qt::black);
        element(QStringLiteral("CutSceneArea"))->setShown(false);
        m_rt.media().StopMovie();
        StopVideoRequested = true;
        // A black game picture of the game's size in the middle of the screen.
        const std::int16_t w = base::twips16(p.FrameWidth);
        const std::int16_t h = base::twips16(p.FrameHeight);
        const int screenW = run::GetScreenWidth(m_rt) * 15;
        const int screenH = run::GetScreenHeight(m_rt) * 15;
        picture->setGeometryTwips(screenW / 2 - w / 2, screenH / 2 - h / 2, w, h);
        element(QStringLiteral("BackImage"))->setGeometryTwips(0, 0, w, h);
        // The message strip is hidden; its label keeps the size of its text.
        platform::Element* message = element(QStringLiteral("LabelMessageBox"));
        const QFontMetrics metrics(message->font());
        message->setGeometryTwips(message->left(), message->top(),
                                  (metrics.horizontalAdvance(message->text()) + 1) * 15, metrics.height() * 15);
        message->setShown(false);
        element(QStringLiteral("FrameMessageBox"))->setShown(false);
        for (const char* name : {"PictureBox", "BackImage", "Area(0)", "AniGifBox(0)", "Text(0)", "CutSceneArea",
                                 "FrameMessageBox", "LabelMessageBox", "PickedObject(0)", "Inventory1", "Inventory2",
                                 "Inventory_Background"})
            ApplyDefaultCursor(m_rt, *element(QString::fromLatin1(name)));
        platform::Element* bar = element(QStringLiteral("Inventory1"));
        platform::Element* tab = element(QStringLiteral("Inventory2"));
        if (p.InventoryEnabled) {
            // One row of icons with the margin above and below, closed above the picture.
            const long long b = static_cast<long long>(p.InventoryMarginY) * 30 + 480;
            if (b > 32767 || b < -32768)
                throw base::Failure("Overflow: inventory bar height");
            bar->setGeometryTwips(0, static_cast<int>(-b), w, static_cast<int>(b));
            tab->setGeometryTwips(0, 0, tab->width(), tab->height());
            bar->setShown(true);
            m_inventory.setContainer(*bar);
            m_bar.Load_InventoryBackground();
            tab->setShown(!p.InventoryHideEmptyTab);
        } else {
            // Without the bar, objects lie on the game picture.
            m_inventory.setContainer(*element(QStringLiteral("PictureBox")));
            bar->setShown(false);
            tab->setShown(false);
        }
    } catch (const std::exception&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to initialize the program."));
    }
    rebuildDebugMenu();
}

void Game::rebuildDebugMenu()
{
    QStringList frames;
    for (const QString& file : m_rt.files.listFiles(m_rt.project.FramesPath, QStringLiteral(".fme"))) {
        if (file.size() > 4)
            frames << file.left(file.size() - 4);
    }
    m_menus.setFrames(frames);
}

void Game::StartNewGame()
{
    LoadVariables();
    OpenFrame(m_rt.project.InitialFrame);
}

// ---------------------------------------------------------------- variables

void Game::LoadVariables()
{
    try {
        for (std::int32_t n = Variables.Count(); n > 0; --n)
            Variables.Remove(1);
        auto reader = m_rt.openReader(m_rt.project.ConfigPath + QStringLiteral("Variables"));
        state::ReadVariablesList(reader, [this](const QString& name) { Variables.Add(name, 0); });
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to load variables list."));
    }
}

void Game::ChangeVariableValue(const QString& name, std::int16_t value)
{
    try {
        // Every record of that name changes, in position order.
        for (const std::int32_t position : std::vector<std::int32_t>(Variables.PositionsOf(name))) {
            const std::int16_t old = Variables.Item(position).Value;
            Variables.SetValue(position, value != -1 ? value : static_cast<std::int16_t>(old ^ 1));
        }
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to change the value of the following variable: '") + name
                             + QStringLiteral("'. The variable may have been removed during the project creation."));
    }
}

std::int16_t Game::GetVariableValue(const QString& name) const
{
    const std::vector<std::int32_t>& positions = Variables.PositionsOf(name);
    return positions.empty() ? std::int16_t(-1) : Variables.Item(positions.front()).Value;
}

// ---------------------------------------------------------------- keys, presses, menus

void Game::ShowMenus()
{
    m_menus.ShowMenus(m_rt.project.HideSaveMenu);
}

void Game::Form_KeyDown(int key)
{
    const bool video = m_rt.media().IsVideoPlaying();
    if (!video && key == Qt::Key_Escape) {
        if (!m_menus.open())
            ShowMenus();
        else
            HideMenus();
    }
    if (key == Qt::Key_Escape)
        StopVideoRequested = true;
    if (key == Qt::Key_S)
        mnuSaveGame_Click();
    if (key == Qt::Key_Q)
        mnuExit_Click();
}

void Game::Form_MouseDown(std::int16_t button)
{
    StopVideoRequested = true;
    if (m_rt.media().IsVideoPlaying())
        return;
    if (button == 2 && !m_menus.open())
        ShowMenus();
    else
        HideMenus();
}

void Game::Text_MouseDown(std::int16_t, std::int16_t button)
{
    Form_MouseDown(button);
}

void Game::mnuExit_Click()
{
    const auto answer = m_rt.msgBox(m_rt.project.GameName, m_rt.strings(10), platform::MsgIcon::Question, platform::MsgButtons::YesNo);
    if (answer != platform::MsgAnswer::Yes)
        return;
    StopVideoRequested = true;
    TimerUnloadMe.setEnabled(true);
}

void Game::TimerUnloadMe_Timer()
{
    TimerUnloadMe.setEnabled(false);
    Form_Unload();
}

void Game::mnuSaveGame_Click()
{
    saves::FrmSaveGame& dialog = m_rt.frmSaveGame();
    dialog.LoadSaveGames();
    dialog.show();
}

void Game::mnuFrameName_Click(const QString& frame)
{
    HideMenus();
    OpenFrame(frame);
}

// ---------------------------------------------------------------- video

void Game::showVideoPicture(qint64 parent, const QImage& picture)
{
    platform::Element* container = element(media::Media::parentControl(parent));
    platform::Element* video = element(QStringLiteral("VideoWindow"));
    if (video && video->parentItem() != container) {
        m_window->destroy(QStringLiteral("VideoWindow"));
        video = nullptr;
    }
    if (!video) {
        video = m_window->create(Kind::Picture, QStringLiteral("VideoWindow"), container);
        video->setBackColor(Qt::transparent);
        video->setInputTransparent(true);
        video->bringToFront();
    }
    video->setGeometryTwips(0, 0, picture.width() * 15, picture.height() * 15);
    video->setPicture(picture);
    video->setShown(true);
}

void Game::hideVideoPicture()
{
    if (element(QStringLiteral("VideoWindow")))
        m_window->destroy(QStringLiteral("VideoWindow"));
}

void Game::PlayMovieWithStop(const QString& path, const QString& control)
{
    try {
        if (!visible())
            show();
        m_rt.media().VideoMedia().PlayMovie(path, media::Media::parentHandle(control));
        m_rt.clock().doEvents();
        StopVideoRequested = false;
    } catch (const base::Failure&) {
        m_rt.ShowErrorReport(QStringLiteral(" Unable to play video."));
    }
}

void Game::PlayCutScene(const QString& file, bool inRect, const QRect& pixels)
{
    const QString path = run::MapMediaFileName(m_rt, m_rt.project.FramesPath + file);
    if (!inRect) {
        PlayMovieWithStop(path, QStringLiteral("PictureBox"));
        return;
    }
    platform::Element* cutScene = element(QStringLiteral("CutSceneArea"));
    cutScene->setGeometryTwips(base::twips16(pixels.left()), base::twips16(pixels.top()), base::twips16(pixels.width()),
                               base::twips16(pixels.height()));
    cutScene->setShown(true);
    cutScene->bringToFront();
    PlayMovieWithStop(path, QStringLiteral("CutSceneArea"));
}

void Game::WaitForVideo()
{
    auto videoRunning = [this] {
        const QString status = m_rt.media().VideoStatus().toLower();
        return status != QLatin1String("stopped") && !status.isEmpty();
    };
    // No menu stays open over a video; a click or a key sets the flag.
    while (videoRunning() && !StopVideoRequested) {
        // A video with no end on the clock could only be waited for by
        // spinning: that is a fault of the player, said as one. A run that
        // has ended waits no more.
        if (!m_rt.clock().waitForEvents()) {
            if (m_rt.ended())
                return;
            throw base::Failure("Waiting for a video that never ends");
        }
        HideMenus();
        m_rt.clock().doEvents();
    }
}

// ---------------------------------------------------------------- music

void Game::MP3Timer_Timer()
{
    // One shot: a start that falls while a video plays is dropped.
    m_rt.media().MP3Timer_Timer(MP3Timer.tag());
    MP3Timer.setEnabled(false);
}

void Game::ScheduleMP3Music(const QString& file)
{
    media::Media& media = m_rt.media();
    media.ReleaseWaveMix();
    media.StopMP3();
    // MP3Timer starts the music; until it has measured the piece it counts
    // as a minute long.
    media.setMP3Duration(60);
    media.setMP3StartTime(m_rt.clock().now());
    MP3Timer.setTag(run::MapMediaFileName(m_rt, m_rt.project.FramesPath + file));
    MP3Timer.setEnabled(true);
}

// ---------------------------------------------------------------- closing

void Game::Form_Unload()
{
    StopVideoRequested = true;
    m_rt.clock().doEvents();
    Timer1.setEnabled(false);
    MP3Timer.setEnabled(false);
    TimerMessageBox.setEnabled(false);
    media::Media& media = m_rt.media();
    media.StopMIDIMusic();
    media.SoundMedia().mmClose();
    media.StopMovie();
    media.VideoMediaClose();
    media.StopMP3();
    media.ReleaseWaveMix();
    base::SkipOnFailure([&] {
        for (std::int16_t k = m_animations.highestIndex(); k > 0; --k) {
            if (m_animations.AniGif(k))
                m_animations.unloadAniGif(k);
        }
    });
    base::SkipOnFailure([&] { hideWindow(); });
    m_rt.clock().doEvents();
    base::SkipOnFailure([&] { run::RestoreDisplayMode(m_rt); });
    m_rt.clock().doEvents();
    base::SkipOnFailure([&] { m_rt.frmWelcome().show(); });
}

} // namespace engine
