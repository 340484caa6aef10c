#include "inventory/TargetSystem.h"

#include "core/Text.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tollen::inventory {

namespace {

/// Every name an architecture goes by, upper-case, and the name INF decorations give it.
constexpr std::pair<std::string_view, std::string_view> kArchitectureNames[] = {
    {"X86", "x86"},     {"I386", "x86"},      {"I486", "x86"},     {"I586", "x86"},
    {"I686", "x86"},    {"AMD64", "amd64"},   {"X86_64", "amd64"}, {"X64", "amd64"},
    {"ARM64", "arm64"}, {"AARCH64", "arm64"}, {"ARM", "arm"},      {"ARMV7L", "arm"},
    {"ARMV7", "arm"},   {"ARMHF", "arm"},     {"IA64", "ia64"},
};

} // namespace

std::optional<std::string> architectureName(std::string_view name)
{
    const std::string upper = toUpper(name);
    for (const auto &[alias, architecture] : kArchitectureNames) {
        if (alias == upper) {
            return std::string(architecture);
        }
    }
    return std::nullopt;
}

std::optional<WindowsVersion> parseWindowsVersion(std::string_view text)
{
    std::vector<int> numbers;
    while (true) {
        const auto end = std::min(text.find('.'), text.size());
        const auto number = wholeNumber<int>(text.substr(0, end));
        if (!number) {
            return std::nullopt;
        }
        numbers.push_back(*number);
        if (end == text.size()) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    if (numbers.size() < 2 || numbers.size() > 3) {
        return std::nullopt;
    }
    WindowsVersion version{numbers[0], numbers[1], std::nullopt};
    if (numbers.size() == 3) {
        version.build = numbers[2];
    }
    return version;
}

} // namespace tollen::inventory
