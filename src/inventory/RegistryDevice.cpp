#include "inventory/RegistryDevice.h"

#include "core/Text.h"
#include "inventory/WindowsIds.h"
#include "registry/cRegistry.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace tollen::inventory {

namespace {

/// ConfigFlags that mark a device without a working driver: reinstall (0x20), failed install
/// (0x40), finish install (0x400).
constexpr std::uint32_t kDriverProblemFlags = 0x20 | 0x40 | 0x400;

/// Where Windows 95/98/ME keep the keys the Driver values name.
constexpr const char *kWindows9xClassRoot = "System\\CurrentControlSet\\Services\\Class\\";

class InstanceReader
{
public:
    explicit InstanceReader(registry::RegistryStore &store) : m_reg(store)
    {
        m_reg.setClassKey(static_cast<std::int32_t>(registry::kLocalMachine));
    }

    TaggedValue value(const std::string &key, const std::string &name)
    {
        m_reg.setSectionKey(key);
        m_reg.setValueKey(name);
        m_reg.setValueType(registry::kString);
        return m_reg.Value();
    }

    std::string text(const std::string &key, const std::string &name)
    {
        return toText(value(key, name));
    }

    /// A DWORD, or the four bytes Windows 95/98/ME store some flags in; 0 when missing.
    std::uint32_t flags(const std::string &key, const std::string &name)
    {
        const auto read = value(key, name);
        if (const auto *number = std::get_if<std::int32_t>(&read)) {
            return static_cast<std::uint32_t>(*number);
        }
        std::uint32_t result = 0;
        if (const auto *bytes = std::get_if<ByteArray>(&read); bytes && bytes->size() == 4) {
            for (std::size_t i = 4; i-- > 0;) {
                result = (result << 8) | (*bytes)[i];
            }
        }
        return result;
    }

private:
    registry::cRegistry m_reg;
};

/// The strings of a REG_MULTI_SZ value read as text (NUL-separated), or, on Windows 95/98/ME,
/// of the comma-separated list a REG_SZ holds there. Empty strings are left out.
std::vector<std::string> idList(const std::string &text, bool commaSeparated)
{
    std::vector<std::string> ids;
    std::string current;
    for (const char character : text + '\0') {
        if (character == '\0' || (commaSeparated && character == ',')) {
            if (!current.empty()) {
                ids.push_back(std::move(current));
            }
            current.clear();
        } else {
            current += character;
        }
    }
    return ids;
}

/// The key below which the Driver values name their keys: Control\Class in the control set the
/// device tree lies in on the NT family.
std::string classRoot(const DeviceTreeLayout &layout)
{
    return layout.IsNT ? controlSetKey(layout) + "Control\\Class\\" : kWindows9xClassRoot;
}

InstalledDriver readInstalledDriver(InstanceReader &reader, const DeviceTreeLayout &layout,
                                    const std::string &instanceKey)
{
    InstalledDriver driver;
    if (layout.driverSource == InstalledDriverSource::KernelDriver) {
        driver.description = reader.text(instanceKey, "Service");
        driver.status = driver.description.empty() ? DriverStatus::None : DriverStatus::Ok;
        return driver;
    }
    const std::string classKey = reader.text(instanceKey, "Driver");
    if (classKey.empty()) {
        driver.status = DriverStatus::None;
        return driver;
    }
    driver.status = (reader.flags(instanceKey, "ConfigFlags") & kDriverProblemFlags) != 0
                        ? DriverStatus::Problem
                        : DriverStatus::Ok;
    // A class key that is missing leaves the description empty; the driver is still there.
    const std::string key = classRoot(layout) + classKey;
    driver.description = reader.text(key, "DriverDesc");
    driver.provider = reader.text(key, "ProviderName");
    driver.version = reader.text(key, "DriverVersion");
    driver.date = reader.text(key, "DriverDate");
    driver.infName = reader.text(key, "InfPath");
    driver.matchingId = reader.text(key, "MatchingDeviceId");
    return driver;
}

} // namespace

Device readRegistryDevice(registry::RegistryStore &store, const DeviceTreeLayout &layout,
                          const std::string &instanceKey, std::string id, std::string name)
{
    InstanceReader reader(store);
    Device device;
    device.hardwareIds = idList(reader.text(instanceKey, "HardwareID"), !layout.IsNT);
    if (device.hardwareIds.empty()) {
        auto made = windowsIdList(id);
        device.hardwareIds = std::move(made.hardwareIds);
        device.compatibleIds = std::move(made.compatibleIds);
    } else {
        device.compatibleIds = idList(reader.text(instanceKey, "CompatibleIDs"), !layout.IsNT);
    }
    device.driver = readInstalledDriver(reader, layout, instanceKey);
    device.id = std::move(id);
    device.name = std::move(name);
    return device;
}

} // namespace tollen::inventory
