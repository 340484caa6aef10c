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

/// The class, subclass and protocol "ccsspp" of three files named <prefix>Class, <prefix>SubClass
/// and <prefix>Protocol; nullopt when the class cannot be read.
std::optional<std::string> usbClassCode(const std::filesystem::path &entry,
                                        const std::string &prefix)
{
    const auto code = readSysfsHex(entry / (prefix + "Class"));
    if (!code) {
        return std::nullopt;
    }
    const auto part = [&](const char *name) {
        return hexId(readSysfsHex(entry / (prefix + name)).value_or(0) & 0xFF, 2);
    };
    return hexId(*code & 0xFF, 2) + part("SubClass") + part("Protocol");
}

/// The interface entries of the device entry `name` ("1-1:1.0" ... of "1-1").
std::vector<std::filesystem::path> interfacesOf(const std::vector<std::filesystem::path> &entries,
                                                const std::string &name)
{
    std::vector<std::filesystem::path> interfaces;
    for (const auto &entry : entries) {
        if (entry.filename().string().starts_with(name + ":")) {
            interfaces.push_back(entry);
        }
    }
    return interfaces;
}

/// A device of class 00 leaves its class to its interfaces: the one interface's class names
/// the device, and several make it a composite device.
IdDetails usbDetails(const std::filesystem::path &entry,
                     const std::vector<std::filesystem::path> &interfaces)
{
    IdDetails details;
    if (const auto release = readSysfsHex(entry / "bcdDevice")) {
        details.revision = hexId(*release & 0xFFFF, 4);
    }
    details.classCode = usbClassCode(entry, "bDevice");
    if (details.classCode && details.classCode->starts_with("00")) {
        if (interfaces.size() == 1) {
            details.classCode = usbClassCode(interfaces.front(), "bInterface");
        }
        details.composite = interfaces.size() > 1;
    }
    return details;
}

/// The driver of the device's first interface that has one (the device itself is bound to the
/// generic "usb" driver), else the device's own.
std::string usbDriverName(const std::filesystem::path &entry,
                          const std::vector<std::filesystem::path> &interfaces)
{
    for (const auto &usbInterface : interfaces) {
        if (auto driver = sysfsDriverName(usbInterface); !driver.empty()) {
            return driver;
        }
    }
    return sysfsDriverName(entry);
}

} // namespace

std::vector<SysfsDevice> readUsbDevices(const std::filesystem::path &sysfsRoot,
                                        const UsbNames &names)
{
    std::vector<SysfsDevice> devices;
    const auto entries = sysfsEntries(sysfsRoot / "bus" / "usb" / "devices");
    for (const auto &entry : entries) {
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
        const auto interfaces = interfacesOf(entries, name);
        devices.push_back(SysfsDevice{
            "USB",
            rootHub ? rootHubId(entry) : "VID_" + hexId(*vendor, 4) + "&PID_" + hexId(*product, 4),
            name, description, usbDetails(entry, interfaces), usbDriverName(entry, interfaces)});
    }
    return devices;
}

} // namespace tollen::inventory
