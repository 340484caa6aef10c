#pragma once
// This machine's device tree as a registry store in the NT layout, for the device scan: on
// Linux the sysfs tree seen as a registry (DeviceTreeStore), on Windows the system's own
// registry (WindowsStore), whose Enum tree already has that layout.

#include "inventory/DeviceTreeLayout.h"
#include "registry/RegistryStore.h"

#include <memory>

namespace tollen::inventory {

std::unique_ptr<registry::RegistryStore> thisMachineDeviceTree();

/// The layout of thisMachineDeviceTree(): the NT layout of the running system; on Linux the
/// installed driver is the kernel driver the tree names.
DeviceTreeLayout thisMachineLayout();

} // namespace tollen::inventory
