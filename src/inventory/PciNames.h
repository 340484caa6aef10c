#pragma once
// Names of PCI devices from a pci.ids database, looked up through libpci.

#include <cstdint>
#include <filesystem>
#include <string>

struct pci_access;

namespace tollen::inventory {

class PciNames
{
public:
    explicit PciNames(const std::filesystem::path &idsFile);
    ~PciNames();
    PciNames(const PciNames &) = delete;
    PciNames &operator=(const PciNames &) = delete;

    /// "Vendor Device" as lspci shows it; numbers stand in for names the database lacks.
    std::string name(std::uint16_t vendor, std::uint16_t device);

private:
    pci_access *m_access = nullptr;
    std::string m_idsFile;
};

} // namespace tollen::inventory
