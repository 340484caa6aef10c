#include "inventory/SysfsDevices.h"
#include "inventory/SysfsFile.h"

namespace tollen::inventory {

namespace {

/// Root hubs are the entries usb1, usb2 ...; Windows names them by their USB version.
std::string rootHubId(const std::filesystem::path &entry)
{
    const std::string version = readSysfsLine(entry / "version").value_or("");
    if (version.rfind("3.", 0) == 0) {
        return "ROOT_HUB30";
    }
    if (version.rfind("2.", 0) == 0) {
        return "ROOT_HUB20";
    }
    return "ROOT_HUB";
}

} // namespace

std::vector<SysfsDevice> readUsbDevices(const std::filesystem::path &sysfsRoot,
                                        const UsbNames &names)
{
    std::vector<SysfsDevice> devices;
    for (const auto &entry : sysfsEntries(sysfsRoot / "bus" / "usb" / "devices")) {
        const auto vendor = readSysfsHex(entry / "idVendor");
        const auto product = readSysfsHex(entry / "idProduct");
        if (!vendor || !product || *vendor > 0xFFFF || *product > 0xFFFF) {
            continue; // an interface, or a device whose identity cannot be read
        }
        const std::string name = entry.filename().string();
        std::string description =
            names.name(static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product));
        if (description.empty()) {
            description = readSysfsLine(entry / "product").value_or("USB Device");
        }
        const bool rootHub = name.rfind("usb", 0) == 0;
        devices.push_back(SysfsDevice{
            "USB",
            rootHub ? rootHubId(entry) : "VID_" + hexId(*vendor, 4) + "&PID_" + hexId(*product, 4),
            name, description});
    }
    return devices;
}

} // namespace tollen::inventory
