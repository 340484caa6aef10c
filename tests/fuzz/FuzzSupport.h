#pragma once
// What the fuzz targets share: a check that stops the run at the first broken promise (libFuzzer
// then keeps the input that broke it), the input as text, and a private folder for targets
// whose parser reads a file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace tollen::fuzz {

/// Stops the run when a promise does not hold.
inline void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

inline std::string_view bytesOf(const std::uint8_t *data, std::size_t size)
{
    return {reinterpret_cast<const char *>(data), size};
}

/// Requires `path` to be parts joined by "/", none of them empty, "." or "..", each passing
/// `check`.
template <class Check> void requireParts(std::string_view path, Check check)
{
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string_view part = path.substr(start, end - start);
        require(!part.empty() && part != "." && part != "..");
        check(part);
        if (end == path.size()) {
            return;
        }
        start = end + 1;
    }
}

/// A folder of this run's own, made at first use and removed when the run ends normally.
const std::filesystem::path &privateFolder();

/// Writes `bytes` to the file `name` in the private folder and returns its path.
std::filesystem::path writeInput(std::string_view name, std::string_view bytes);

} // namespace tollen::fuzz
