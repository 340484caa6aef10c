#pragma once
// The device scan: walks a registry device tree bus by bus and appends one device record per
// device key to ListView1. The layout (where the tree lies, and whether the hardware ID is the
// key's name as on the NT family or the "HardwareID" value as on Windows 95/98/ME) comes from
// EnumRoot and IsNT. All reads go through cRegistry over the store given. On request the scan
// also collects, beside each row, the device with its ID lists and installed driver.

#include "controls/ListView.h"
#include "inventory/Device.h"
#include "inventory/DeviceTreeLayout.h"
#include "registry/RegistryStore.h"

#include <string>
#include <vector>

namespace tollen::inventory {

/// The Device Name of a row the active-node pass adds.
inline constexpr const char *kUninstalledDeviceName = "!!UNINSTALLED DEVICE!!";

class DeviceScan
{
public:
    DeviceScan(registry::RegistryStore &store, DeviceTreeLayout layout,
               controls::ListView &ListView1);

    /// The buses HDAUDIO, PCI, USB and ISAPNP in that order, then, when the layout is not the
    /// NT family's, the pass over the active device nodes.
    void ScanAll();

    /// Appends the device records of one bus, in the store's order of its device keys. USB root
    /// hubs are left out.
    void ScanBus(const std::string &bus);

    /// `path` + "\" + the name of the first subkey of `path`. A device key without instances
    /// gives `path` itself, so the device is read from its own key.
    std::string FirstInstanceKey(const std::string &path);

    /// Windows 95/98/ME: a row "!!UNINSTALLED DEVICE!!" for each active device node on one of
    /// the scanned buses whose Device ID (enumerator, backslash, device ID upper-cased) no row
    /// has yet.
    void ScanActiveNodes();

    /// From now on also appends to `devices`, beside each row added, the device as the driver
    /// search sees it: its ID lists and its installed driver, read from the same instance key.
    /// The window's scan does without, and reads no more than the rows need.
    void collectDevices(std::vector<Device> &devices) { m_devices = &devices; }

private:
    void addDevice(const std::string &bus, const std::string &deviceKey);

    registry::RegistryStore &m_store;
    DeviceTreeLayout m_layout;
    controls::ListView &m_list;
    std::vector<Device> *m_devices = nullptr;
};

} // namespace tollen::inventory
