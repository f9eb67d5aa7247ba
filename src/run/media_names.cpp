#include "run/media_names.h"

#include "formats/quoted_field_writer.h"
#include "run/context.h"
#include "run/save_folders.h"

#include "platform/safe_file.h"

namespace run {

namespace {

struct Packaged {
    const char* usual;
    const char* numbered;
};

constexpr Packaged kPackaged[] = {
    {".ico", ".002"}, {".cur", ".003"}, {".bmp", ".004"}, {".jpg", ".005"},
    {".gif", ".006"}, {".wmf", ".007"}, {".emf", ".008"}, {".wav", ".010"},
    {".mid", ".011"}, {".mp3", ".012"}, {".avi", ".014"},
};

const QString kRunFromCd = QStringLiteral("RunFromCD.dat");

// The file whose presence marks a game that runs from CD: the game folder's.
QString runFromCdPath(const Context& rt)
{
    return rt.project.ProjectPath + kRunFromCd;
}

} // namespace

QString MappedMediaName(const platform::FileResolver& files, const QString& name)
{
    // Names too short to hold an extension (the empty one too) come back
    // unchanged.
    if (name.size() < 5 || files.fileExists(name))
        return name;
    const QString extension = name.right(4).toLower();
    for (const Packaged& p : kPackaged) {
        if (extension == QLatin1String(p.usual))
            return name.left(name.size() - 4) + QLatin1String(p.numbered);
    }
    return name;
}

QString MapMediaFileName(Context& rt, const QString& name)
{
    // Names too short to hold an extension are never reported.
    if (name.size() < 5)
        return name;
    const QString result = MappedMediaName(rt.files, name);
    if (!rt.files.fileExists(result)) {
        rt.msgBox(rt.strings(29), rt.strings(33) + u' ' + result + QStringLiteral("\r\n\r\n") + rt.strings(34),
                  platform::MsgIcon::Exclamation);
    }
    return result;
}

QString ReadCDDrive(Context& rt)
{
    try {
        // The drive the player chose last, where a read-only game folder
        // could not keep it, wins over the one the game came with.
        auto reader = rt.openReader(SaveFolders(rt).pathOf(kRunFromCd));
        return reader.readString();
    } catch (const std::exception&) {
        return QString();
    }
}

void WriteCDDrive(Context& rt, const QString& drive)
{
    try {
        formats::QuotedFieldWriter writer(rt.codePage);
        writer.line(drive);
        const SaveFolders folders(rt);
        folders.makeWriteFolder();
        platform::WriteFileSafely(rt.files.pathForWriting(folders.writeFolder() + kRunFromCd), writer.bytes());
        rt.files.forgetListings();
    } catch (const std::exception&) {
        // Nothing is reported: the CD dialog is simply asked again next time.
    }
}

bool CheckFolderPresent(Context& rt, const QString& folder)
{
    if (rt.files.dirExists(folder))
        return true;
    rt.msgBox(rt.project.GameName, rt.strings(43) + u' ' + folder + QStringLiteral("\r\n\r\n") + rt.strings(44),
              platform::MsgIcon::Exclamation);
    return false;
}

CDFolders CDFoldersOn(Context& rt, const QString& drive)
{
    const QString base = drive + QStringLiteral("Data\\") + rt.project.GameName;
    return {base + QStringLiteral("\\Frames\\"), base + QStringLiteral("\\Areas\\"), base + QStringLiteral("\\Icons\\")};
}

void UseCDFolders(Context& rt, const CDFolders& folders)
{
    rt.project.FramesPath = folders.frames;
    rt.project.AreasPath = folders.areas;
    rt.project.IconsPath = folders.icons;
}

bool ChooseCDFolders(Context& rt)
{
    if (!rt.files.fileExists(runFromCdPath(rt)))
        return true;
    QString drive;
    const QString value = ReadCDDrive(rt);
    if (!value.isEmpty())
        drive = value.left(1) + QStringLiteral(":\\");
    const CDFolders cd = CDFoldersOn(rt, drive);
    if (drive.isEmpty() || !rt.files.dirExists(drive) || !rt.files.dirExists(cd.frames) || !rt.files.dirExists(cd.areas)
        || !rt.files.dirExists(cd.icons))
        return false;
    UseCDFolders(rt, cd);
    return true;
}

} // namespace run
