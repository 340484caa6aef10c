#include "inventory/SysfsDevices.h"
#include "inventory/SysfsFile.h"

#include <cstdio>
#include <utility>

namespace tollen::inventory {

std::string hexId(std::uint32_t number, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, number);
    return text;
}

std::vector<SysfsDevice> readPciDevices(const std::filesystem::path &sysfsRoot,
                                        const PciNames &names)
{
    std::vector<SysfsDevice> devices;
    for (const auto &entry : sysfsEntries(sysfsRoot / "bus" / "pci" / "devices")) {
        const auto vendor = readSysfsHex(entry / "vendor");
        const auto device = readSysfsHex(entry / "device");
        if (!vendor || !device || *vendor > 0xFFFF || *device > 0xFFFF) {
            continue;
        }
        const auto subVendor = readSysfsHex(entry / "subsystem_vendor").value_or(0) & 0xFFFF;
        const auto subDevice = readSysfsHex(entry / "subsystem_device").value_or(0) & 0xFFFF;
        const auto revision = readSysfsHex(entry / "revision").value_or(0) & 0xFF;
        IdDetails details;
        if (const auto classCode = readSysfsHex(entry / "class")) {
            details.classCode = hexId(*classCode & 0xFFFFFF, 6);
        }
        devices.push_back(SysfsDevice{
            "PCI",
            "VEN_" + hexId(*vendor, 4) + "&DEV_" + hexId(*device, 4) + "&SUBSYS_" +
                hexId(subDevice, 4) + hexId(subVendor, 4) + "&REV_" + hexId(revision, 2),
            entry.filename().string(),
            names.name(static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*device)),
            std::move(details), sysfsDriverName(entry)});
    }
    return devices;
}

} // namespace tollen::inventory
