#pragma once
// A folder of this run's own under the temporary directory, for the copies the program keeps
// there: the last index file of a query, an archive opened from the results. It gets a fresh
// random name and mode 0700, so no other user can plant a file or a link in it, and no two runs
// share it.

#include "core/Error.h"

#include <filesystem>

namespace tollen {

struct RunFolder
{
    std::filesystem::path path;
    /// Why the folder could not be made; path is then empty.
    Error error;

    explicit operator bool() const { return !error; }
};

/// This run's folder, made under temporaryDirectory() at the first successful call; every later
/// call gives the same folder. Making it removes the half-written files that runs of this user
/// killed while writing left in their own folders.
RunFolder runFolder();

/// Removes this run's folder when it is empty (files handed to other programs stay).
void removeRunFolderIfEmpty();

} // namespace tollen
