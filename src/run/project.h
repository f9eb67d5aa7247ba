#pragma once

#include <QString>

#include <cstdint>

namespace run {

// The project globals: folders and the settings read from Config\General at
// start-up. They live for the whole run; later code only reads them, except
// the CD folders and the scheme's logo choice.
struct Project {
    QString ProjectPath;
    QString FramesPath;
    QString AreasPath;
    QString IconsPath;
    QString ConfigPath;
    QString SchemesPath;
    QString InventoryPath;

    QString ProjectKey;
    QString GameName;
    QString InitialFrame;
    QString GameVersion;
    std::int16_t FrameWidth = 0;
    std::int16_t FrameHeight = 0;
    QString AuthorName;
    QString AuthorEmail;
    QString AuthorWebSite;
    std::int16_t DisplayChangeMode = 0;
    QString SchemeName;
    bool SingleSoundMode = false;
    bool HideLoadButton = false;
    bool HideSaveMenu = false;
    std::int32_t InventorySpacingX = 10;
    std::int32_t InventoryMarginY = 10;
    bool InventoryEnabled = true;
    bool InventorySlideOpen = true;
    bool InventorySlideClose = false;
    bool InventoryHideEmptyTab = true;
    bool InventoryOpenOnPick = true;
    bool InventoryCustomPictures = false;
    QString InventoryTabPicture = QStringLiteral("DEFAULT");
    QString InventoryBackgroundPicture = QStringLiteral("DEFAULT");
    std::int16_t Resolution = 0;
    std::int16_t LogoVariant = 0;
    bool LogoAlternate = false;
    QString DefaultCursor = QStringLiteral("DEFAULT");

    // Display size before a switch, as last measured.
    int SavedScreenWidth = 0;
    int SavedScreenHeight = 0;

    // The start-up defaults of every setting read from General.
    void assignDefaults();
};

} // namespace run
