#include "registry/ControlSet.h"

#include "core/Text.h"
#include "registry/StoreWalk.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <vector>

namespace tollen::registry {

namespace {

constexpr std::string_view kCurrentControlSet = "CurrentControlSet";
constexpr std::string_view kControlSetPrefix = "ControlSet";

/// The number of a "ControlSetNNN" name (any letter case); nullopt for every other name.
std::optional<std::uint32_t> controlSetNumber(std::string_view name)
{
    if (name.size() <= kControlSetPrefix.size() ||
        !equalsIgnoringCase(name.substr(0, kControlSetPrefix.size()), kControlSetPrefix)) {
        return std::nullopt;
    }
    const auto digits = name.substr(kControlSetPrefix.size());
    std::uint32_t number = 0;
    const auto *end = digits.data() + digits.size();
    const auto parsed = std::from_chars(digits.data(), end, number);
    if (parsed.ec != std::errc() || parsed.ptr != end) {
        return std::nullopt;
    }
    return number;
}

/// The DWORD Select\Current below the open key `system`; nullopt when it is missing or of
/// another type.
std::optional<std::uint32_t> selectCurrent(RegistryStore &store, RegistryHandle system)
{
    RegistryHandle select = 0;
    if (store.openKey(system, "Select", kQueryValueAccess, select) != kSuccess) {
        return std::nullopt;
    }
    std::array<std::uint8_t, 4> bytes{};
    std::uint32_t type = 0;
    auto size = static_cast<std::uint32_t>(bytes.size());
    const auto result = store.queryValue(select, "Current", type, bytes.data(), size);
    store.closeKey(select);
    if (result != kSuccess || type != kDword || size != bytes.size()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8U |
           static_cast<std::uint32_t>(bytes[2]) << 16U |
           static_cast<std::uint32_t>(bytes[3]) << 24U;
}

} // namespace

std::optional<std::string> controlSetInUse(RegistryStore &store, std::string_view systemKey)
{
    RegistryHandle system = 0;
    if (store.openKey(kLocalMachine, systemKey, kQueryValueAccess | kEnumerateSubKeysAccess,
                      system) != kSuccess) {
        return std::nullopt;
    }
    // A listing cut short by a failure still offers the names read before it.
    std::vector<std::string> names;
    listSubkeyNames(store, system, names);
    const auto current = selectCurrent(store, system);
    store.closeKey(system);

    const std::string *lowest = nullptr;
    std::uint32_t lowestNumber = 0;
    const std::string *selected = nullptr;
    for (const auto &name : names) {
        if (equalsIgnoringCase(name, kCurrentControlSet)) {
            return name;
        }
        const auto number = controlSetNumber(name);
        if (!number) {
            continue;
        }
        if (number == current && selected == nullptr) {
            selected = &name;
        }
        if (lowest == nullptr || *number < lowestNumber) {
            lowest = &name;
            lowestNumber = *number;
        }
    }
    const std::string *chosen = selected != nullptr ? selected : lowest;
    return chosen == nullptr ? std::nullopt : std::optional<std::string>(*chosen);
}

} // namespace tollen::registry
