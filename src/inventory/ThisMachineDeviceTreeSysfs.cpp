#include "inventory/DeviceTreeStore.h"
#include "inventory/ThisMachineDeviceTree.h"

namespace tollen::inventory {

std::unique_ptr<registry::RegistryStore> thisMachineDeviceTree()
{
    return std::make_unique<DeviceTreeStore>();
}

} // namespace tollen::inventory
