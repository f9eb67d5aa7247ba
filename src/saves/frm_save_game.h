#pragma once

#include "platform/form_window.h"

#include <QString>

#include <memory>

namespace app {
class Runtime;
}
namespace run {
class SaveFolders;
}

namespace saves {

// The save dialog: the list of saves, the name to save under, SAVE, Remove
// Selected and Cancel. A save is written to a new file in the game folder
// and renamed over the old one only once it is complete, so a failed save
// never destroys the previous one.
class FrmSaveGame {
public:
    explicit FrmSaveGame(app::Runtime& rt);
    ~FrmSaveGame();

    platform::FormWindow& window() { return *m_window; }

    void LoadSaveGames();
    void show();
    void Command2_Click();
    void Command3_Click();
    void Command1_Click();
    void List1_Click();
    void List1_DblClick();

private:
    // Writes the game to the file in the folder saves are written to;
    // throws base::Failure.
    void writeSave(const QString& path, const run::SaveFolders& folders);

    app::Runtime& m_rt;
    std::unique_ptr<platform::FormWindow> m_window;
};

} // namespace saves
