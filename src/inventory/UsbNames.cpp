#include "inventory/UsbNames.h"

namespace tollen::inventory {

UsbNames::UsbNames(const std::filesystem::path &idsFile) : m_database(idsFile) {}

std::string UsbNames::name(std::uint16_t vendor, std::uint16_t product) const
{
    const std::string *vendorName = m_database.vendor(vendor);
    if (vendorName == nullptr) {
        return {};
    }
    const std::string *productName = m_database.device(vendor, product);
    return productName != nullptr ? *vendorName + " " + *productName : *vendorName;
}

} // namespace tollen::inventory
