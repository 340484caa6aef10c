#include "registry/CallerBuffer.h"

#include <cstring>

namespace tollen::registry {

long copyValueData(const std::vector<std::uint8_t> &bytes, std::uint8_t *data, std::uint32_t &size)
{
    const auto stored = static_cast<std::uint32_t>(bytes.size());
    if (data != nullptr && size < stored) {
        size = stored;
        return kMoreData;
    }
    if (data != nullptr && stored != 0) {
        std::memcpy(data, bytes.data(), stored);
    }
    size = stored;
    return kSuccess;
}

long copyName(const std::string &name, char *buffer, std::uint32_t capacity)
{
    if (name.size() + 1 > capacity) {
        return kMoreData;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return kSuccess;
}

} // namespace tollen::registry
