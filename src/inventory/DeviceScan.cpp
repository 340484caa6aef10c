#include "inventory/DeviceScan.h"

#include "core/Text.h"
#include "core/TextRoutines.h"
#include "inventory/DeviceInventory.h"
#include "inventory/DeviceRecords.h"
#include "inventory/RegistryDevice.h"
#include "registry/cRegistry.h"

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace tollen::inventory {

namespace {

using registry::cRegistry;

constexpr std::array<const char *, 4> kBuses = {"HDAUDIO", "PCI", "USB", "ISAPNP"};
constexpr std::int32_t kLocalMachine = static_cast<std::int32_t>(registry::kLocalMachine);
constexpr std::int32_t kDynData = static_cast<std::int32_t>(registry::kDynData);
constexpr const char *kActiveNodes = "Config Manager\\Enum";

std::vector<std::string> subkeys(registry::RegistryStore &store, std::int32_t root,
                                 const std::string &path)
{
    cRegistry reg(store);
    reg.setClassKey(root);
    reg.setSectionKey(path);
    std::vector<std::string> names;
    std::int32_t count = 0;
    reg.EnumerateSections(names, count);
    return names;
}

std::string readText(cRegistry &reg, const std::string &valueName)
{
    reg.setValueKey(valueName);
    reg.setValueType(registry::kString);
    return toText(reg.Value());
}

void removeAll(std::string &text, const std::string &part)
{
    if (part.empty()) {
        return;
    }
    for (auto position = text.find(part); position != std::string::npos;
         position = text.find(part, position)) {
        text.erase(position, part.size());
    }
}

} // namespace

DeviceScan::DeviceScan(registry::RegistryStore &store, DeviceTreeLayout layout,
                       controls::ListView &ListView1)
    : m_store(store), m_layout(std::move(layout)), m_list(ListView1)
{
}

void DeviceScan::ScanAll()
{
    for (const char *bus : kBuses) {
        ScanBus(bus);
    }
    if (!m_layout.IsNT) {
        ScanActiveNodes();
    }
}

void DeviceScan::ScanBus(const std::string &bus)
{
    for (const auto &deviceKey : subkeys(m_store, kLocalMachine, m_layout.EnumRoot + bus)) {
        addDevice(bus, deviceKey);
    }
}

std::string DeviceScan::FirstInstanceKey(const std::string &path)
{
    const auto instances = subkeys(m_store, kLocalMachine, path);
    return instances.empty() ? path : path + "\\" + instances.front();
}

void DeviceScan::addDevice(const std::string &bus, const std::string &deviceKey)
{
    cRegistry reg(m_store);
    reg.setClassKey(kLocalMachine);
    reg.setSectionKey(FirstInstanceKey(m_layout.EnumRoot + bus + "\\" + deviceKey));
    std::string description = readText(reg, "DeviceDesc");
    std::string id;
    if (m_layout.IsNT) {
        id = deviceKey;
        description = TextAfter(description, ';');
    } else {
        id = readText(reg, "HardwareID");
        removeAll(id, bus + "\\");
        id = TextBefore(id, ',');
        removeAll(id, "*");
    }
    if (id.compare(0, 8, "ROOT_HUB") == 0) {
        return;
    }
    AddDeviceRecord(m_list, bus + "\\" + id, description);
    if (m_devices != nullptr) {
        m_devices->push_back(
            readRegistryDevice(m_store, m_layout, reg.SectionKey(), bus + "\\" + id, description));
    }
}

void DeviceScan::ScanActiveNodes()
{
    for (const auto &node : subkeys(m_store, kDynData, kActiveNodes)) {
        cRegistry reg(m_store);
        reg.setClassKey(kDynData);
        reg.setSectionKey(std::string(kActiveNodes) + "\\" + node);
        const std::string hardwareKey = readText(reg, "HardwareKey");
        const std::string enumerator = TextBefore(hardwareKey, '\\');
        const std::string deviceId = toUpper(TextBefore(TextAfter(hardwareKey, '\\'), '\\'));
        if (deviceId.empty() || hardwareKey.find('\\') == std::string::npos) {
            continue;
        }
        bool scannedBus = false;
        for (const char *bus : kBuses) {
            scannedBus = scannedBus || enumerator == bus;
        }
        const std::string rowId = enumerator + "\\" + deviceId;
        bool listed = false;
        for (int row = 1; row <= m_list.rowCount() && !listed; ++row) {
            listed = m_list.text(row) == rowId;
        }
        if (scannedBus && !listed) {
            AddDeviceRecord(m_list, rowId, kUninstalledDeviceName);
            if (m_devices != nullptr) {
                // Windows found the device but installed nothing for it.
                m_devices->push_back(deviceOfId(rowId, kUninstalledDeviceName));
                m_devices->back().driver.status = DriverStatus::None;
            }
        }
    }
}

} // namespace tollen::inventory
