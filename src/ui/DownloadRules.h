#pragma once
// The file rules of the driver download flow: where an archive ends inside a Remote Path, and
// the file name and extension taken from it. Pure functions of their arguments, so every rule
// can be checked with a table. The URLs of a result row are transfer/DownloadUrl's.

#include "database/ArchivePath.h"

#include <string>
#include <string_view>

namespace tollen::ui {

// The split of a Remote Path at its archive, which the builder applies too.
using database::archivePath;
using database::HasArchiveExtension;

/// The text after the last "/", the whole text when it holds none.
std::string archiveName(std::string_view archivePath);

/// The text after the last "." of a file name, the whole name when it holds none.
std::string nameExtension(std::string_view name);

/// The save dialog's one-entry filter naming the extension three times.
std::string saveFilter(const std::string &extension);

/// False for a name that cannot be a file of its own in a folder: empty, ".", ".." (also with
/// spaces around them) or holding a NUL character.
bool isUsableFileName(std::string_view name);

} // namespace tollen::ui
