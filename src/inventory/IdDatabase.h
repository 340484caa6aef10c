#pragma once
// The vendor and device lines of the PCI and USB ID databases (pci.ids, usb.ids), which share
// one layout: a vendor line "vvvv  Name", below it its device lines "<tab>dddd  Name", below each
// of those subsystem or interface lines indented by two tabs. The vendors end where the other
// lists (device classes, languages ...) begin. Comments and damaged lines are passed over: a
// damaged vendor line hides the devices listed below it, never the rest of the file.

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>

namespace tollen::inventory {

class IdDatabase
{
public:
    /// Reads the file; a missing, unreadable or damaged file gives fewer names or none.
    explicit IdDatabase(const std::filesystem::path &idsFile);

    /// The vendor's name, nullptr when the database does not list it.
    const std::string *vendor(std::uint16_t vendor) const;
    /// The device's name without its vendor's, nullptr when the database does not list it.
    const std::string *device(std::uint16_t vendor, std::uint16_t device) const;

private:
    std::unordered_map<std::uint16_t, std::string> m_vendors;
    /// Keyed by vendor and device, vendor in the upper 16 bits.
    std::unordered_map<std::uint32_t, std::string> m_devices;
};

} // namespace tollen::inventory
