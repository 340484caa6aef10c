#include "inventory/DeviceTreeStore.h"
#include "inventory/ThisMachineDeviceTree.h"

namespace tollen::inventory {

std::unique_ptr<registry::RegistryStore> thisMachineDeviceTree()
{
    return std::make_unique<DeviceTreeStore>();
}

DeviceTreeLayout thisMachineLayout()
{
    DeviceTreeLayout layout = kNtLayout;
    layout.driverSource = InstalledDriverSource::KernelDriver;
    layout.runningSystem = true;
    return layout;
}

} // namespace tollen::inventory
