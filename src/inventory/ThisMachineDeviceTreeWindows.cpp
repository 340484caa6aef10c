#include "inventory/ThisMachineDeviceTree.h"
#include "registry/WindowsStore.h"

namespace tollen::inventory {

std::unique_ptr<registry::RegistryStore> thisMachineDeviceTree()
{
    return std::make_unique<registry::WindowsStore>();
}

DeviceTreeLayout thisMachineLayout()
{
    DeviceTreeLayout layout = kNtLayout;
    layout.driverSource = InstalledDriverSource::ClassKey;
    layout.runningSystem = true;
    return layout;
}

} // namespace tollen::inventory
