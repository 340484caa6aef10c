#pragma once
// A device as the driver search sees it, read from its instance key in a registry device tree:
// the hardware and compatible IDs Windows recorded, and the installed driver, which on Windows
// is described by the key of the control set's driver classes that the instance's Driver value
// names, and on this Linux machine is the kernel driver the Service value names.

#include "inventory/Device.h"
#include "inventory/DeviceTreeLayout.h"
#include "registry/RegistryStore.h"

#include <string>

namespace tollen::inventory {

/// The device `id` named `name` whose instance key, below HKEY_LOCAL_MACHINE, is `instanceKey`.
/// A device without a HardwareID value (a hand-made export) gets the ID lists made from `id`.
Device readRegistryDevice(registry::RegistryStore &store, const DeviceTreeLayout &layout,
                          const std::string &instanceKey, std::string id, std::string name);
} // namespace tollen::inventory
