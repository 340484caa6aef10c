#pragma once
// Environment variables as the program reads them: names matched without regard to letter case.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tollen {

/// The value of the variable whose name equals `name` ignoring case; nullopt when unset.
std::optional<std::string> environmentVariable(std::string_view name);

/// The temporary directory: "TEMP" (any case), then on Linux TMPDIR and /tmp, on Windows the
/// system's own temporary folder.
std::filesystem::path temporaryDirectory();

/// Text with each "%name%" reference replaced by that variable's value; references to unset
/// variables and lone "%" signs stay as written.
std::string expandEnvironmentReferences(std::string_view text);

} // namespace tollen
