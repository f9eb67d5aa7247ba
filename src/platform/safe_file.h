#pragma once

#include <QByteArray>

#include <filesystem>

namespace platform {

// Replaces a file only once its new content is completely on disk: the bytes
// go to a new file in the same folder, which is flushed to the disk and then
// renamed over the old one. On any failure (a full disk, a read-only folder)
// the new file is removed, the old one is left as it was, and Failure is
// thrown. Short writes count as failures.
void WriteFileSafely(const std::filesystem::path& target, const QByteArray& bytes);

// Removes the new files that writes of earlier runs left in a folder when
// they were killed half-way. A write still going on in another run holds a
// lock on its file and keeps it.
void RemoveLeftoverWrites(const std::filesystem::path& folder);

// Whether a new file can be made in the folder, found by making one and
// removing it again: the folder's permissions alone do not tell (a
// read-only mount, or a user whom permissions do not stop).
bool FolderTakesNewFiles(const std::filesystem::path& folder);

} // namespace platform
