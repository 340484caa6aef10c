#pragma once
// Reading the start of a file whose size the program does not control (ID databases, the
// settings file), so that a huge or endless file costs a bounded amount of memory.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace tollen {

/// At most `limit` bytes from the start of the file; nullopt when it cannot be opened or read
/// (a missing file, a folder, no permission).
std::optional<std::string> readFilePrefix(const std::filesystem::path &file, std::size_t limit);

} // namespace tollen
