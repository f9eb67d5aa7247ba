#pragma once

#include "platform/dialogs.h"
#include "platform/scene_window.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace app {

class Runtime;

// The welcome window: the game's name, version and author, the Start, Load
// and Exit buttons and the offer to change the display resolution. Its load
// handler is the program's start-up.
class FrmWelcome {
public:
    explicit FrmWelcome(Runtime& rt);
    ~FrmWelcome();

    platform::SceneWindow& window() { return *m_window; }
    platform::Element* element(const QString& name) const { return m_window->element(name); }

    // Window geometry in twips. The window has no frame or title bar, so its
    // inner size is its size.
    int left() const { return m_left; }
    int top() const { return m_top; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    QString caption() const { return m_caption; }
    QColor backColor() const { return m_backColor; }

    void Form_Load();
    // Escape closes the window. The buttons are elements that take no focus
    // of their own, so the window keeps a focus among them and the
    // resolution box: Tab and Shift+Tab move it and draw it, Return presses
    // the focused button (Start until the focus moved; the default button
    // when the box has it), Space presses it or ticks the box.
    void Form_KeyDown(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The element that has the keyboard focus, framed or not yet.
    QString focusedElement() const;
    void Form_Unload();
    void ClickButton(std::int16_t index);
    void lblButton_Click(std::int16_t index) { ClickButton(index); }
    void Img_Click(std::int16_t index) { ClickButton(index); }
    void lblResolution_Click();
    void Form_Activate();
    void txtEmail_Click();
    void txtHomepage_Click();
    void imgLogo_Click();
    // A move with the left button held over the body or an information
    // label drags the window, as its title bar would.
    void Form_MouseMove(Qt::MouseButtons buttons);

    bool topMost() const { return m_topMost; }
    void setTopMost(bool topMost);

    // The web site the logo offers.
    static constexpr const char* kProductWebSite = "https://loomplay.org";

    // The scheme: button pictures, background tile, colours, logo choice.
    void UseScheme(const QString& schemeName);

    void show();
    void hideWindow();

private:
    void createElements();
    // Asks whether to open a link (mail or web) and opens it on Yes.
    void offerLink(const QString& title, const QString& question, platform::MsgIcon icon, const QString& url);
    // Start, Load or Exit, once the CD folders are settled.
    void pressButton(std::int16_t index);
    void centre();
    void applyGeometry();
    void layoutLoadButtonAndLogo();
    // A button without a picture shows its interface string, sized to it.
    void showTextButton(int index);
    // The element shown for a stop of the focus (0 to 2 the buttons, then
    // the resolution box by its label); nullptr when none is shown.
    platform::Element* focusStop(int stop) const;
    void moveFocus(bool forward);
    void pressFocused(bool space);

    Runtime& m_rt;
    std::unique_ptr<platform::SceneWindow> m_window;
    int m_left = 0, m_top = 0, m_width = 4800, m_height = 4500;
    QString m_caption;
    bool m_topMost = false;
    QColor m_backColor;
    static constexpr int kResolutionStop = 3;
    // Start until the keyboard moves it; its frame shows from then on, as
    // desktops show the focus once the keyboard is used.
    int m_focus = 0;
};

} // namespace app
