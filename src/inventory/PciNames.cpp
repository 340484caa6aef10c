#include "inventory/PciNames.h"

extern "C" {
#include <pci/pci.h>
}

#include <array>

namespace tollen::inventory {

PciNames::PciNames(const std::filesystem::path &idsFile)
    : m_access(pci_alloc()), m_idsFile(idsFile.string())
{
    // Names come from the given database only: no udev hardware database, no cache file and
    // no network look-ups, so the same file always gives the same names.
    m_access->id_lookup_mode = 0;
    pci_set_name_list_path(m_access, m_idsFile.data(), 0);
}

PciNames::~PciNames()
{
    pci_cleanup(m_access);
}

std::string PciNames::name(std::uint16_t vendor, std::uint16_t device)
{
    std::array<char, 512> buffer{};
    const char *found =
        pci_lookup_name(m_access, buffer.data(), static_cast<int>(buffer.size()),
                        PCI_LOOKUP_VENDOR | PCI_LOOKUP_DEVICE | PCI_LOOKUP_NO_HWDB,
                        static_cast<unsigned>(vendor), static_cast<unsigned>(device));
    return found ? std::string(found) : std::string();
}

} // namespace tollen::inventory
