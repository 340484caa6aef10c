#pragma once
// Where a registry store keeps its device tree, and how the tree records each device's driver.

#include "registry/EnumRoot.h"

#include <string>
#include <string_view>

namespace tollen::inventory {

/// Where a device tree records the driver a device has now.
enum class InstalledDriverSource {
    /// The instance's Driver value names a key of the control set's driver classes, which
    /// describes the installed driver (Windows).
    ClassKey,
    /// The instance's Service value is the name of the kernel driver bound to the device (this
    /// Linux machine's device tree).
    KernelDriver,
};

struct DeviceTreeLayout
{
    /// The key path under HKEY_LOCAL_MACHINE, ending in a backslash, below which each bus has
    /// its key.
    std::string EnumRoot;
    bool IsNT = true;
    InstalledDriverSource driverSource = InstalledDriverSource::ClassKey;
    /// The store is the running system's own registry or device tree, so the target system is
    /// this machine rather than what the store records.
    bool runningSystem = false;
};

/// The key of the control set an NT device tree lies in ("SYSTEM\ControlSet001\"): EnumRoot
/// without its last piece, "Enum\". Empty for the Windows 95/98/ME layout, which has none.
inline std::string controlSetKey(const DeviceTreeLayout &layout)
{
    const std::string_view root = layout.EnumRoot;
    if (!layout.IsNT || !root.ends_with(registry::kEnumKey)) {
        return {};
    }
    return std::string(root.substr(0, root.size() - registry::kEnumKey.size()));
}

inline const DeviceTreeLayout kNtLayout{std::string(registry::kNtEnumRoot), true};
inline const DeviceTreeLayout kWindows9xLayout{std::string(registry::kEnumKey), false};

} // namespace tollen::inventory
