#include "core/FilePrefix.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace tollen {

std::optional<std::string> readFilePrefix(const std::filesystem::path &file, std::size_t limit)
{
    // A folder opens as a file on this system and reads as empty; it is no file.
    std::error_code ignored;
    if (std::filesystem::is_directory(file, ignored)) {
        return std::nullopt;
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        return std::nullopt;
    }
    std::string bytes;
    constexpr std::size_t kPiece = 64 * 1024;
    while (bytes.size() < limit) {
        const std::size_t start = bytes.size();
        bytes.resize(start + std::min(kPiece, limit - start));
        stream.read(bytes.data() + start, static_cast<std::streamsize>(bytes.size() - start));
        bytes.resize(start + static_cast<std::size_t>(stream.gcount()));
        if (stream.bad()) {
            return std::nullopt;
        }
        if (!stream) {
            break;
        }
    }
    return bytes;
}

} // namespace tollen
