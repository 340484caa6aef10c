// Fuzzes the reading of a registry export's devices as match reads them: the device tree, each
// device's ID lists and installed driver, and the target system. Every device the
// installed-hardware list shows is read, in the same order, and its status follows its driver.

#include "FuzzSupport.h"
#include "controls/ListView.h"
#include "inventory/DeviceInventory.h"
#include "inventory/DeviceListSource.h"
#include "inventory/DeviceScan.h"
#include "registry/MemoryStore.h"

using namespace tollen;
using tollen::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    registry::MemoryStore store;
    if (store.loadRegText(fuzz::bytesOf(data, size),
                          registry::HiveMount{registry::kLocalMachine, "SYSTEM"})) {
        return 0;
    }
    const auto layout = inventory::findDeviceTreeLayout(store);
    if (!layout) {
        return 0;
    }
    const inventory::DeviceInventory found = inventory::readStoreInventory(store, *layout);
    controls::ListView ListView1;
    inventory::DeviceScan(store, *layout, ListView1).ScanAll();
    require(found.devices.size() == static_cast<std::size_t>(ListView1.rowCount()));
    for (std::size_t index = 0; index < found.devices.size(); ++index) {
        const inventory::Device &device = found.devices[index];
        require(device.id == ListView1.text(static_cast<int>(index) + 1));
        require(!device.hardwareIds.empty());
        if (device.driver.status == inventory::DriverStatus::None) {
            inventory::InstalledDriver none;
            none.status = inventory::DriverStatus::None;
            require(device.driver == none);
        }
    }
    return 0;
}
