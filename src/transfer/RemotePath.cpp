#include "transfer/RemotePath.h"

#include "core/Text.h"

namespace tollen::transfer {

bool staysBelowBase(std::string_view path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = path.find_first_of("/\\", start);
        const std::string_view segment = path.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (segment == "." || segment == "..") {
            return false;
        }
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return true;
}

bool fitsFtpCommand(std::string_view path)
{
    for (const char character : path) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

std::string encodeUrlPath(std::string_view path)
{
    return percentEncode(path, "/");
}

} // namespace tollen::transfer
