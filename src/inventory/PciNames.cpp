#include "inventory/PciNames.h"

#include <cstdio>

namespace tollen::inventory {

PciNames::PciNames(const std::filesystem::path &idsFile) : m_database(idsFile) {}

std::string PciNames::name(std::uint16_t vendor, std::uint16_t device) const
{
    const std::string *vendorName = m_database.vendor(vendor);
    const std::string *deviceName = m_database.device(vendor, device);
    if (vendorName != nullptr && deviceName != nullptr) {
        return *vendorName + " " + *deviceName;
    }
    char number[16];
    if (vendorName != nullptr) {
        std::snprintf(number, sizeof number, "%04x", device);
        return *vendorName + " Device " + number;
    }
    std::snprintf(number, sizeof number, "%04x:%04x", vendor, device);
    return std::string("Device ") + number;
}

} // namespace tollen::inventory
