#pragma once

#include <QString>

namespace platform {
class FileResolver;
}

namespace run {

class Context;

// The name MapMediaFileName gives a path, without telling anyone when that
// file is missing too.
QString MappedMediaName(const platform::FileResolver& files, const QString& name);

// The media file that a path names: the usual name when it exists, else the
// packaged name with a numbered extension (".004" for ".bmp" ...). A name
// that exists under neither is reported (the game goes on after OK).
QString MapMediaFileName(Context& rt, const QString& name);

// The drive text kept in RunFromCD.dat, or "" when it cannot be read.
QString ReadCDDrive(Context& rt);
// Writes RunFromCD.dat; failures are ignored.
void WriteCDDrive(Context& rt, const QString& drive);
// True when the folder exists; otherwise tells the player and returns false.
bool CheckFolderPresent(Context& rt, const QString& folder);

// The Frames, Areas and Icons folders of a game on a CD drive ("E:\\").
struct CDFolders {
    QString frames, areas, icons;
};
CDFolders CDFoldersOn(Context& rt, const QString& drive);
// Makes the game read its frames, areas and icons from those folders.
void UseCDFolders(Context& rt, const CDFolders& folders);

// Before Start and Load of a CD game: points the Frames, Areas and Icons
// folders at the drive named in RunFromCD.dat. Returns false when the drive
// or its folders are missing, so the player must choose the drive first.
bool ChooseCDFolders(Context& rt);

} // namespace run
