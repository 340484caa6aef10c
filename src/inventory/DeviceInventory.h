#pragma once
// The devices the driver search works on, each with its ID lists and installed driver, and the
// Windows system drivers are sought for. They come from the same files and device trees as the
// installed-hardware list, through the same scan, so the two never differ.

#include "core/Error.h"
#include "inventory/Device.h"
#include "inventory/DeviceTreeLayout.h"
#include "inventory/TargetSystem.h"
#include "registry/RegistryStore.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tollen::inventory {

struct DeviceInventory
{
    std::vector<Device> devices;
    TargetSystem target;
};

/// The devices of a profile, registry export or offline hive, told apart as "Load profile"
/// does, with their ID lists and installed drivers, and the target system the file holds.
/// Errors as loadDeviceList gives them; `inventory` is left as it was on error.
Error readDeviceInventory(const std::filesystem::path &file, DeviceInventory &inventory);

/// The devices of a registry device tree (this machine's, or an opened file's).
DeviceInventory readStoreInventory(registry::RegistryStore &store, const DeviceTreeLayout &layout);

/// A device known by its ID alone (a profile row, an ID typed by the user): Windows' ID list
/// made from the ID, status Unknown.
Device deviceOfId(std::string id, std::string name);

} // namespace tollen::inventory
