#include "transfer/RemotePath.h"

#include "core/Text.h"

namespace tollen::transfer {

bool staysBelowBase(std::string_view strurl)
{
    std::size_t start = 0;
    while (start <= strurl.size()) {
        const auto end = strurl.find_first_of("/\\", start);
        const std::string_view segment = strurl.substr(
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

bool fitsFtpCommand(std::string_view strurl)
{
    for (const char character : strurl) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

std::string encodeUrlPath(std::string_view strurl)
{
    return percentEncode(strurl, "/");
}

} // namespace tollen::transfer
