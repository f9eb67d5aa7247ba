#pragma once

#include "platform/form_window.h"

#include <memory>

namespace app {
class Runtime;
}

namespace saves {

// The load dialog: the list of saves, LOAD and Cancel. Loading resets the
// game, applies the stored variables, removed areas, inventory and history,
// and opens the stored frame.
class FrmLoadGame {
public:
    explicit FrmLoadGame(app::Runtime& rt);
    ~FrmLoadGame();

    platform::FormWindow& window() { return *m_window; }

    void LoadSaveGames();
    void show();
    void Command2_Click();
    void Command1_Click();
    void List1_DblClick() { Command2_Click(); }

private:
    app::Runtime& m_rt;
    std::unique_ptr<platform::FormWindow> m_window;
};

} // namespace saves
