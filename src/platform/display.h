#pragma once

#include <QSize>

namespace platform {

// The display as the games see it. The player never changes the real display
// mode: a switch to a game resolution makes the game window present a screen
// of that size, scaled to fill the real one. Sizes are in pixels.
class Display {
public:
    explicit Display(QSize realScreen = QSize(1024, 768)) : m_real(realScreen), m_mode(realScreen) {}

    QSize realScreen() const { return m_real; }
    // The size the games see: the real screen, or the mode switched to.
    QSize mode() const { return m_mode; }
    bool switched() const { return m_mode != m_real; }

    // Returns false when the player cannot present the mode.
    bool setMode(QSize size);
    // How many times the mode was set, for the scripted dump.
    int modeChanges() const { return m_modeChanges; }

    // Dots per inch of the desktop's fonts: 96 is the usual ("small
    // fonts"); more means the desktop enlarges text ("large fonts").
    double logicalDpi() const { return m_logicalDpi; }
    void setLogicalDpi(double dpi) { m_logicalDpi = dpi; }

private:
    QSize m_real;
    QSize m_mode;
    double m_logicalDpi = 96;
    int m_modeChanges = 0;
};

} // namespace platform
