#pragma once
// Key paths as the stores take them: names separated by backslashes, below a root.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace tollen::registry {

/// The registry's own limits on names and depth. Name lengths count UTF-16 code units, as
/// Windows does, not the bytes of their UTF-8 form.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;
inline constexpr std::size_t kMaxKeyDepth = 512;
/// The most bytes a key name of kMaxKeyNameLength units takes in UTF-8 (three per unit).
inline constexpr std::size_t kMaxKeyNameBytes = 3 * kMaxKeyNameLength;

/// True when `name` is one key name: not empty, no backslash or NUL (Windows refuses both in
/// key names), at most kMaxKeyNameLength characters.
bool isKeyName(std::string_view name);

/// The names of `path` ("" gives none; one trailing backslash is allowed). nullopt when a name
/// is not a key name (see isKeyName) or when there are more than kMaxKeyDepth names.
std::optional<std::vector<std::string_view>> splitKeyPath(std::string_view path);

} // namespace tollen::registry
