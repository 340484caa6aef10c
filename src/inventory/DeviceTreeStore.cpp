#include "inventory/DeviceTreeStore.h"

#include "inventory/SysfsDevices.h"
#include "inventory/WindowsIds.h"
#include "registry/EnumRoot.h"

#include <string>

namespace tollen::inventory {

using registry::RegistryHandle;

namespace {

void setText(registry::MemoryStore &tree, RegistryHandle key, std::string_view name,
             std::uint32_t type, const std::string &data)
{
    tree.setValue(key, name, type, reinterpret_cast<const std::uint8_t *>(data.data()),
                  static_cast<std::uint32_t>(data.size()));
}

/// REG_MULTI_SZ data: each string ended by a NUL, the list by one more.
std::string multiStringData(const std::vector<std::string> &strings)
{
    std::string data;
    for (const auto &text : strings) {
        data += text + '\0';
    }
    return data + '\0';
}

void addDevices(registry::MemoryStore &tree, const std::vector<SysfsDevice> &devices)
{
    for (const auto &device : devices) {
        RegistryHandle key = 0;
        const std::string path = std::string(registry::kNtEnumRoot) + device.bus + "\\" +
                                 device.hardwareId + "\\" + device.instance;
        if (tree.createKey(registry::kLocalMachine, path, key) != registry::kSuccess) {
            continue;
        }
        // String data carries its terminating NUL, as the registry stores it.
        setText(tree, key, "DeviceDesc", registry::kString, device.description + '\0');
        const auto ids = windowsIdList(device.bus + "\\" + device.hardwareId, device.details);
        setText(tree, key, "HardwareID", registry::kMultiString, multiStringData(ids.hardwareIds));
        setText(tree, key, "CompatibleIDs", registry::kMultiString,
                multiStringData(ids.compatibleIds));
        // Windows names a device's driver service in Service; here it names the kernel driver.
        if (!device.kernelDriver.empty()) {
            setText(tree, key, "Service", registry::kString, device.kernelDriver + '\0');
        }
        tree.closeKey(key);
    }
}

} // namespace

DeviceTreeStore::DeviceTreeStore(const DeviceTreeSources &sources)
{
    const PciNames pciNames(sources.pciIds);
    const UsbNames usbNames(sources.usbIds);
    addDevices(m_tree, readHdAudioDevices(sources.sysfsRoot));
    addDevices(m_tree, readPciDevices(sources.sysfsRoot, pciNames));
    addDevices(m_tree, readUsbDevices(sources.sysfsRoot, usbNames));
}

long DeviceTreeStore::openKey(RegistryHandle root, std::string_view path, std::uint32_t access,
                              RegistryHandle &key)
{
    if ((access & ~(registry::kQueryValueAccess | registry::kEnumerateSubKeysAccess)) != 0) {
        return registry::kAccessDenied;
    }
    return m_tree.openKey(root, path, access, key);
}

long DeviceTreeStore::createKey(RegistryHandle, std::string_view, RegistryHandle &)
{
    return registry::kAccessDenied;
}

long DeviceTreeStore::closeKey(RegistryHandle key)
{
    return m_tree.closeKey(key);
}

long DeviceTreeStore::deleteKey(RegistryHandle, std::string_view)
{
    return registry::kAccessDenied;
}

long DeviceTreeStore::deleteValue(RegistryHandle, std::string_view)
{
    return registry::kAccessDenied;
}

long DeviceTreeStore::queryValue(RegistryHandle key, std::string_view name, std::uint32_t &type,
                                 std::uint8_t *data, std::uint32_t &size)
{
    return m_tree.queryValue(key, name, type, data, size);
}

long DeviceTreeStore::setValue(RegistryHandle, std::string_view, std::uint32_t,
                               const std::uint8_t *, std::uint32_t)
{
    return registry::kAccessDenied;
}

long DeviceTreeStore::queryInfoKey(RegistryHandle key, std::uint32_t &longestValueName)
{
    return m_tree.queryInfoKey(key, longestValueName);
}

long DeviceTreeStore::enumValue(RegistryHandle key, std::uint32_t index, char *name,
                                std::uint32_t &length)
{
    return m_tree.enumValue(key, index, name, length);
}

long DeviceTreeStore::enumKey(RegistryHandle key, std::uint32_t index, char *name,
                              std::uint32_t length)
{
    return m_tree.enumKey(key, index, name, length);
}

long DeviceTreeStore::connectRegistry(std::string_view, RegistryHandle, RegistryHandle &)
{
    // This machine's devices only: there is no remote machine to reach.
    return registry::kBadNetworkPath;
}

} // namespace tollen::inventory
