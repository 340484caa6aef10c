#include "registry/RegRoots.h"

#include "core/Text.h"

#include <array>

namespace tollen::registry {

namespace {

struct RootName
{
    RegistryHandle root;
    std::string_view name;
    std::string_view shortName;
};

constexpr std::array<RootName, 6> kRootNames{{
    {kClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {kCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {kLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {kUsers, "HKEY_USERS", "HKU"},
    {kCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
    {kDynData, "HKEY_DYN_DATA", "HKDD"},
}};

} // namespace

std::optional<RegistryHandle> rootFromName(std::string_view name)
{
    for (const auto &entry : kRootNames) {
        if (equalsIgnoringCase(name, entry.name) || equalsIgnoringCase(name, entry.shortName)) {
            return entry.root;
        }
    }
    return std::nullopt;
}

std::string_view rootName(RegistryHandle root)
{
    for (const auto &entry : kRootNames) {
        if (entry.root == root) {
            return entry.name;
        }
    }
    return {};
}

const std::vector<RegistryHandle> &predefinedRoots()
{
    static const std::vector<RegistryHandle> roots = [] {
        std::vector<RegistryHandle> all;
        for (const auto &entry : kRootNames) {
            all.push_back(entry.root);
        }
        return all;
    }();
    return roots;
}

} // namespace tollen::registry
