#pragma once
// This machine's devices as a read-only registry: the PCI, USB and HD-audio devices of a sysfs
// tree presented in the NT layout, HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\<bus>\<hardware
// ID>\<instance> with a "DeviceDesc" naming the device from the system's ID databases,
// "HardwareID" and "CompatibleIDs" as Windows makes them, and, as Windows names a device's
// driver service, "Service" naming the kernel driver bound to the device (none when unbound).
// The tree is read once, when the store is made; every write answers 5 (access denied).

#include "registry/MemoryStore.h"
#include "registry/RegistryStore.h"

#include <filesystem>

namespace tollen::inventory {

struct DeviceTreeSources
{
    std::filesystem::path sysfsRoot = "/sys";
    std::filesystem::path pciIds = "/usr/share/misc/pci.ids";
    std::filesystem::path usbIds = "/usr/share/misc/usb.ids";
};

class DeviceTreeStore final : public registry::RegistryStore
{
public:
    explicit DeviceTreeStore(const DeviceTreeSources &sources = {});

    long openKey(registry::RegistryHandle root, std::string_view path, std::uint32_t access,
                 registry::RegistryHandle &key) override;
    long createKey(registry::RegistryHandle root, std::string_view path,
                   registry::RegistryHandle &key) override;
    long closeKey(registry::RegistryHandle key) override;
    long deleteKey(registry::RegistryHandle root, std::string_view path) override;
    long deleteValue(registry::RegistryHandle key, std::string_view name) override;
    long queryValue(registry::RegistryHandle key, std::string_view name, std::uint32_t &type,
                    std::uint8_t *data, std::uint32_t &size) override;
    long setValue(registry::RegistryHandle key, std::string_view name, std::uint32_t type,
                  const std::uint8_t *data, std::uint32_t size) override;
    long queryInfoKey(registry::RegistryHandle key, std::uint32_t &longestValueName) override;
    long enumValue(registry::RegistryHandle key, std::uint32_t index, char *name,
                   std::uint32_t &length) override;
    long enumKey(registry::RegistryHandle key, std::uint32_t index, char *name,
                 std::uint32_t length) override;
    long connectRegistry(std::string_view machine, registry::RegistryHandle root,
                         registry::RegistryHandle &key) override;

private:
    registry::MemoryStore m_tree;
};

} // namespace tollen::inventory
