#pragma once
// A folder of this run's own under the temporary directory, for the copies the program keeps
// there: the last index file of a query, an archive opened from the results. It gets a fresh
// random name and mode 0700, so no other user can plant a file or a link in it, and no two runs
// share it.
//
// The folder goes when the run ends, but for the files handed to other programs, which may open
// them after the run is over. A run marks its folder in use for as long as it lives (a locked
// file in it); each new run removes the folders of the runs that are over (the files they
// handed over, and what a killed run left) and leaves those of runs still at work.

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
/// call gives the same folder. Making it removes the folders of earlier runs that are over, and
/// arranges for removeRunFolder() to run when the program ends (a return from main or exit()).
RunFolder runFolder();

/// Keeps the file `file` of this run's folder when the run ends: it was handed to another
/// program. The next run removes it.
void keepAfterRun(const std::filesystem::path &file);

/// Removes this run's folder and what it holds but the files kept for other programs; the
/// folder stays while it holds such a file, for the next run to remove. The next call of
/// runFolder() makes a new folder.
void removeRunFolder();

} // namespace tollen
