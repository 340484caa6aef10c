#pragma once
// Checks of the texts given on the command line (queries, IDs, paths, hosts) before they reach
// the window: a device ID or a query is a short line of text, so a huge argument, a control
// character or bytes that are not UTF-8 are a mistake, told as such.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tollen::cli {

/// Device IDs, queries and refinement entries: Windows allows 200 characters for an ID.
inline constexpr std::size_t kQueryLimit = 1024;
/// Remote paths, host addresses and file names.
inline constexpr std::size_t kPathLimit = 4096;

/// Why the text given as `name` cannot be used (empty, longer than `limit` bytes, holding a
/// control character, or not UTF-8); nothing when it can.
std::optional<std::string> argumentProblem(std::string_view name, std::string_view text,
                                           std::size_t limit, bool mayBeEmpty = false);

} // namespace tollen::cli
