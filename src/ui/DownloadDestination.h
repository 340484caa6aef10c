#pragma once
// Where a download may be written, checked before anything is asked of the server.

#include "core/Error.h"

#include <filesystem>

namespace tollen::ui {

/// Why a download may not be written at `file`: its folder must exist, and neither a folder nor
/// a read-only file is replaced by it (the superuser, whom the system lets write over any file,
/// is held to the file's mode too). Other faults show when the file is written.
Error destinationProblem(const std::filesystem::path &file);

} // namespace tollen::ui
