#pragma once
// Names of PCI devices from a pci.ids database, read by the program itself: a damaged or
// missing database gives numbers in place of names, never a failure.

#include "inventory/IdDatabase.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace tollen::inventory {

class PciNames
{
public:
    explicit PciNames(const std::filesystem::path &idsFile);

    /// "Vendor Device" as lspci shows it; numbers stand in for names the database lacks
    /// ("Vendor Device dddd", "Device vvvv:dddd").
    std::string name(std::uint16_t vendor, std::uint16_t device) const;

private:
    IdDatabase m_database;
};

} // namespace tollen::inventory
