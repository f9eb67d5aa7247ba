#include "app/startup.h"

#include "app/runtime.h"
#include "base/failure.h"

#include <QDir>

namespace app {

void LoadInterfaceStrings(Runtime& rt)
{
    const QString path = rt.project.ConfigPath + QStringLiteral("Texts");
    if (!rt.files.fileExists(path)) {
        rt.strings.SetDefaultInterfaceStrings(false);
        return;
    }
    try {
        auto reader = rt.openReader(path);
        ReadInterfaceStrings(reader, rt.strings);
    } catch (const base::Failure&) {
        rt.msgBox(QStringLiteral("Error"), QStringLiteral("Unable to load text."), platform::MsgIcon::Critical);
        rt.strings.SetDefaultInterfaceStrings(false);
    }
}

void ReadInterfaceStrings(formats::QuotedFieldReader& reader, run::InterfaceStrings& strings)
{
    const double format = reader.readDouble();
    if (format == 0) {
        strings.SetDefaultInterfaceStrings(false);
    } else if (format == 1) {
        strings.SetDefaultInterfaceStrings(true);
    } else if (format == 2) {
        for (int i = 0; i < 5; ++i)
            reader.skip();
        const std::int32_t n = reader.readInt32();
        for (std::int32_t i = 1; i <= n; ++i) {
            const QString text = reader.readString();
            strings.set(i, text);
        }
    }
}

void SetProjectFolders(run::Project& p, const QString& projectDir)
{
    const QString folder = QDir::toNativeSeparators(projectDir);
    const QChar sep = QDir::separator();
    p.ProjectPath = folder + sep;
    if (p.ProjectPath.endsWith(QString(sep) + sep))
        p.ProjectPath = folder;
    p.FramesPath = p.ProjectPath + QStringLiteral("Frames") + sep;
    p.AreasPath = p.ProjectPath + QStringLiteral("Areas") + sep;
    p.IconsPath = p.ProjectPath + QStringLiteral("Icons") + sep;
    p.ConfigPath = p.ProjectPath + QStringLiteral("Config") + sep;
    if (p.SchemesPath.isEmpty())
        p.SchemesPath = p.ProjectPath + QStringLiteral("Schemes") + sep;
    if (p.InventoryPath.isEmpty())
        p.InventoryPath = p.ProjectPath + QStringLiteral("Inventory") + sep;
}

void ReadProjectSettings(Runtime& rt)
{
    auto reader = rt.openReader(rt.project.ConfigPath + QStringLiteral("General"));
    ReadProjectSettings(reader, rt.project);
}

void ReadProjectSettings(formats::QuotedFieldReader& reader, run::Project& p)
{
    // Who made the game, where it starts and its picture size.
    p.ProjectKey = reader.readString();
    reader.skip();
    p.GameName = reader.readString();
    reader.skip();
    p.InitialFrame = reader.readString();
    p.GameVersion = reader.readString();
    p.FrameWidth = reader.readInt16();
    p.FrameHeight = reader.readInt16();
    p.AuthorName = reader.readString();
    p.AuthorEmail = reader.readString();
    p.AuthorWebSite = reader.readString();
    // Older settings files end at any of these groups.
    if (reader.atEnd())
        return;
    p.DisplayChangeMode = 1;
    p.DisplayChangeMode = reader.readInt16();
    if (reader.atEnd())
        return;
    reader.skip();
    reader.skip();
    reader.skip();
    p.SchemeName = reader.readString();
    if (reader.atEnd())
        return;
    reader.skip();
    reader.skip();
    p.SingleSoundMode = reader.readBoolean();
    p.HideLoadButton = reader.readBoolean();
    p.HideSaveMenu = reader.readBoolean();
    reader.skip();
    // The inventory bar, the resolution and the default cursor.
    if (reader.atEnd())
        return;
    reader.skip();
    reader.skip();
    p.InventorySpacingX = reader.readInt32();
    p.InventoryMarginY = reader.readInt32();
    p.InventoryEnabled = reader.readBoolean();
    p.InventorySlideOpen = reader.readBoolean();
    p.InventorySlideClose = reader.readBoolean();
    p.InventoryHideEmptyTab = reader.readBoolean();
    p.InventoryOpenOnPick = reader.readBoolean();
    p.InventoryCustomPictures = reader.readBoolean();
    p.InventoryTabPicture = reader.readString();
    p.InventoryBackgroundPicture = reader.readString();
    p.Resolution = reader.readInt16();
    reader.skip();
    reader.skip();
    p.DefaultCursor = reader.readString();
}

} // namespace app
