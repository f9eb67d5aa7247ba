#pragma once

#include "platform/form_window.h"

#include <functional>
#include <memory>

namespace app {

class Runtime;

// The CD dialog: the drives of the computer, the one that should hold the
// game's CD, OK and Cancel. On OK the chosen drive must hold the game's
// Frames, Areas and Icons folders; it is then remembered in RunFromCD.dat.
class FrmRunFromCD {
public:
    explicit FrmRunFromCD(Runtime& rt);
    ~FrmRunFromCD();

    platform::FormWindow& window() { return *m_window; }

    void Form_Load();
    // Shows the dialog modally; `closed` runs once it has closed (by OK or
    // Cancel), so the welcome window can go on.
    void show(std::function<void()> closed);
    void Command3_Click();
    void Command4_Click();

private:
    void close();

    Runtime& m_rt;
    std::unique_ptr<platform::FormWindow> m_window;
    std::function<void()> m_closed;
};

} // namespace app
