#include "run/project.h"

namespace run {

void Project::assignDefaults()
{
    InventorySpacingX = 10;
    InventoryMarginY = 10;
    InventoryEnabled = true;
    InventorySlideOpen = true;
    InventorySlideClose = false;
    InventoryHideEmptyTab = true;
    InventoryOpenOnPick = true;
    InventoryCustomPictures = false;
    InventoryTabPicture = QStringLiteral("DEFAULT");
    InventoryBackgroundPicture = QStringLiteral("DEFAULT");
    Resolution = 0;
    LogoVariant = 0;
    LogoAlternate = false;
    DefaultCursor = QStringLiteral("DEFAULT");
}

} // namespace run
