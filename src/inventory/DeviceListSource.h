#pragma once
// Files a device list can be loaded from, told apart by their content, never by their name:
// an offline Windows registry hive (it starts with "regf"), a registry export (its first line,
// after a UTF-16LE or UTF-8 byte-order mark, is "Windows Registry Editor Version 5.00" or
// "REGEDIT4"), or otherwise a hardware profile. A hive or an export opens as a registry store
// that the device scan reads like this machine's registry, in the layout the file holds.

#include "core/Error.h"
#include "inventory/DeviceScan.h"
#include "registry/RegistryStore.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace tollen::inventory {

enum class DeviceListKind { Profile, RegExport, Hive };

/// How many leading bytes recogniseDeviceList needs.
inline constexpr std::size_t kDeviceListHeadSize = 80;

/// The kind of a file from its first bytes (at least kDeviceListHeadSize when the file has them).
DeviceListKind recogniseDeviceList(std::string_view head);

/// Where a store keeps its device tree: Enum in the control set in use of the SYSTEM hive (see
/// registry/ControlSet.h) for the NT family, Enum for Windows 95/98/ME. The SYSTEM hive is
/// HKEY_LOCAL_MACHINE\SYSTEM, or the one key an export holds below HKEY_LOCAL_MACHINE (a hive
/// that regedit loaded under a name of the user's). nullopt when the store holds no device tree.
std::optional<DeviceTreeLayout> findDeviceTreeLayout(registry::RegistryStore &store);

struct DeviceListStore
{
    std::unique_ptr<registry::RegistryStore> store;
    DeviceTreeLayout layout;
    Error error;
};

/// Opens a hive or a registry export as a store with its device tree's layout. An unreadable
/// file, or one without a device tree, gives an error.
DeviceListStore openDeviceListStore(const std::filesystem::path &file, DeviceListKind kind);

} // namespace tollen::inventory
