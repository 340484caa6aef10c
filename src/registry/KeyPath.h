#pragma once
// Key paths as the stores take them: names separated by backslashes, below a root.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tollen::registry {

/// The registry's own limits on names and depth.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;
inline constexpr std::size_t kMaxKeyDepth = 512;

/// The names of `path` ("" gives none; one trailing backslash is allowed). nullopt when a name
/// is empty or longer than kMaxKeyNameLength, or when there are more than kMaxKeyDepth names.
std::optional<std::vector<std::string_view>> splitKeyPath(std::string_view path);

} // namespace tollen::registry
