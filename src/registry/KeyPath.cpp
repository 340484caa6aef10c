#include "registry/KeyPath.h"

#include "core/Utf16.h"

namespace tollen::registry {

bool isKeyName(std::string_view name)
{
    return !name.empty() &&
           name.find_first_of(std::string_view("\\\0", 2)) == std::string_view::npos &&
           name.size() <= kMaxKeyNameBytes && utf16Length(name) <= kMaxKeyNameLength;
}

std::optional<std::vector<std::string_view>> splitKeyPath(std::string_view path)
{
    if (!path.empty() && path.back() == '\\') {
        path.remove_suffix(1);
    }
    std::vector<std::string_view> names;
    while (!path.empty()) {
        const auto separator = path.find('\\');
        const auto name = path.substr(0, separator);
        if (!isKeyName(name) || names.size() == kMaxKeyDepth) {
            return std::nullopt;
        }
        names.push_back(name);
        if (separator == std::string_view::npos) {
            break;
        }
        path.remove_prefix(separator + 1);
        if (path.empty()) {
            return std::nullopt;
        }
    }
    return names;
}

} // namespace tollen::registry
