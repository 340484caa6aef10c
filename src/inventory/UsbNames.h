#pragma once
// Names of USB devices from a usb.ids database: vendor lines "vvvv  Name", product lines
// "<tab>pppp  Name" below their vendor.

#include <cstdint>
#include <filesystem>
#include <string>
#include <unordered_map>

namespace tollen::inventory {

class UsbNames
{
public:
    /// Reads the database; a missing file gives no names.
    explicit UsbNames(const std::filesystem::path &idsFile);

    /// "Vendor Product" when the product is listed, the vendor's name alone when only the vendor
    /// is, empty otherwise.
    std::string name(std::uint16_t vendor, std::uint16_t product) const;

private:
    std::unordered_map<std::uint16_t, std::string> m_vendors;
    /// Keyed by vendor and product, vendor in the upper 16 bits.
    std::unordered_map<std::uint32_t, std::string> m_products;
};

} // namespace tollen::inventory
