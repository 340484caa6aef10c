#include "RegistryText.h"

#include <cstdio>

namespace tollen::testing {

std::string regMultiString(const std::vector<std::string> &texts)
{
    std::string bytes;
    for (const std::string &text : texts) {
        for (const char character : text) {
            bytes += character;
            bytes += '\0';
        }
        bytes += std::string(2, '\0');
    }
    bytes += std::string(2, '\0');
    std::string value = "hex(7):";
    for (std::size_t index = 0; index < bytes.size(); ++index) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(bytes[index]));
        value += (index == 0 ? "" : ",") + std::string(pair);
    }
    return value;
}

} // namespace tollen::testing
