#include "inventory/DeviceInventory.h"

#include "controls/ListView.h"
#include "core/FilePrefix.h"
#include "core/PathText.h"
#include "core/Text.h"
#include "inventory/DeviceListSource.h"
#include "inventory/DeviceScan.h"
#include "inventory/ProfileCommands.h"
#include "inventory/ProfileFile.h"
#include "inventory/WindowsIds.h"
#include "registry/cRegistry.h"

#include <algorithm>
#include <utility>

namespace tollen::inventory {

namespace {

/// True when the text holds a control character that no profile holds: anything below a space
/// other than tab, carriage return and line feed.
bool holdsBinaryData(std::string_view bytes)
{
    return std::ranges::any_of(bytes, [](char byte) {
        const auto value = static_cast<unsigned char>(byte);
        return value < 0x20 && byte != '\t' && byte != '\r' && byte != '\n';
    });
}

/// The architecture a Windows device tree's control set records. The version stays unknown: the
/// SYSTEM hive holds no value that records it reliably (Windows keeps it in the SOFTWARE hive).
TargetSystem recordedTarget(registry::RegistryStore &store, const DeviceTreeLayout &layout)
{
    TargetSystem target;
    const std::string controlSet = controlSetKey(layout);
    if (controlSet.empty()) {
        return target;
    }
    registry::cRegistry reg(store);
    const auto architecture = reg.ValueEx(static_cast<std::int32_t>(registry::kLocalMachine),
                                          controlSet + "Control\\Session Manager\\Environment",
                                          "PROCESSOR_ARCHITECTURE", registry::kString, {});
    target.architecture = architectureName(toText(architecture));
    return target;
}

Error readProfileInventory(const std::filesystem::path &file, DeviceInventory &inventory)
{
    const auto bytes = readFilePrefix(file, kProfileSizeLimit + 1);
    if (!bytes) {
        return Error{1, utf8FromPath(file) + " cannot be read"};
    }
    if (bytes->size() > kProfileSizeLimit || holdsBinaryData(*bytes)) {
        return Error{1, utf8FromPath(file) +
                            " is not a hardware profile, registry export or offline hive"};
    }
    DeviceInventory read;
    for (auto &record : parseProfile(decodeFileText(*bytes))) {
        read.devices.push_back(
            deviceOfId(std::move(record.deviceId), std::move(record.deviceName)));
    }
    inventory = std::move(read);
    return {};
}

} // namespace

Error readDeviceInventory(const std::filesystem::path &file, DeviceInventory &inventory)
{
    const auto head = readFilePrefix(file, kDeviceListHeadSize);
    if (!head) {
        return Error{1, utf8FromPath(file) + " cannot be read"};
    }
    const DeviceListKind kind = recogniseDeviceList(*head);
    if (kind == DeviceListKind::Profile) {
        return readProfileInventory(file, inventory);
    }
    auto source = openDeviceListStore(file, kind);
    if (source.error) {
        return source.error;
    }
    inventory = readStoreInventory(*source.store, source.layout);
    return {};
}

DeviceInventory readStoreInventory(registry::RegistryStore &store, const DeviceTreeLayout &layout)
{
    DeviceInventory inventory;
    controls::ListView rows;
    DeviceScan scan(store, layout, rows);
    scan.collectDevices(inventory.devices);
    scan.ScanAll();
    inventory.target = layout.runningSystem ? thisMachineTarget() : recordedTarget(store, layout);
    return inventory;
}

Device deviceOfId(std::string id, std::string name)
{
    auto ids = windowsIdList(id);
    Device device;
    device.id = std::move(id);
    device.name = std::move(name);
    device.hardwareIds = std::move(ids.hardwareIds);
    device.compatibleIds = std::move(ids.compatibleIds);
    return device;
}

} // namespace tollen::inventory
