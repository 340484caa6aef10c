#pragma once
// Names of USB devices from a usb.ids database: vendor lines "vvvv  Name", product lines
// "<tab>pppp  Name" below their vendor.

#include "inventory/IdDatabase.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace tollen::inventory {

class UsbNames
{
public:
    /// Reads the database; a missing or damaged file gives fewer names or none.
    explicit UsbNames(const std::filesystem::path &idsFile);

    /// "Vendor Product" when the product is listed, the vendor's name alone when only the vendor
    /// is, empty otherwise.
    std::string name(std::uint16_t vendor, std::uint16_t product) const;

private:
    IdDatabase m_database;
};

} // namespace tollen::inventory
