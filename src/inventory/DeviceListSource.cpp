#include "inventory/DeviceListSource.h"

#include "core/PathText.h"
#include "core/Text.h"
#include "core/Utf16.h"
#include "registry/ControlSet.h"
#include "registry/EnumRoot.h"
#include "registry/MemoryStore.h"
#include "registry/OfflineHive.h"
#include "registry/RegFile.h"
#include "registry/StoreWalk.h"
#include "registry/cRegistry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tollen::inventory {

namespace {

/// The ASCII characters of UTF-16LE text up to the first character outside ASCII.
std::string asciiOfUtf16(std::string_view bytes)
{
    std::string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        if (bytes[i + 1] != '\0' || static_cast<unsigned char>(bytes[i]) > 0x7F) {
            break;
        }
        text += bytes[i];
    }
    return text;
}

/// True when the enumeration root `root` (ending in a backslash) is a key of the store.
bool hasKey(registry::RegistryStore &store, std::string_view root)
{
    registry::cRegistry reg(store);
    reg.setClassKey(static_cast<std::int32_t>(registry::kLocalMachine));
    reg.setSectionKey(root.substr(0, root.size() - 1));
    return reg.KeyExists();
}

/// The key below HKEY_LOCAL_MACHINE that holds the SYSTEM hive: SYSTEM, or the one key an export
/// holds there. regedit loads an offline hive under a key the user names (SYSTEM is taken by the
/// running system's own), and an export of that key holds nothing else.
std::string systemHiveKey(registry::RegistryStore &store)
{
    std::vector<std::string> names;
    if (registry::listSubkeyNames(store, registry::kLocalMachine, names) == registry::kSuccess &&
        names.size() == 1) {
        return names.front();
    }
    return "SYSTEM";
}

} // namespace

DeviceListKind recogniseDeviceList(std::string_view head)
{
    if (head.starts_with("regf")) {
        return DeviceListKind::Hive;
    }
    std::string text;
    if (head.starts_with(kUtf16LeByteOrderMark)) {
        text = asciiOfUtf16(head.substr(kUtf16LeByteOrderMark.size()));
    } else {
        text = std::string(
            head.starts_with(kUtf8ByteOrderMark) ? head.substr(kUtf8ByteOrderMark.size()) : head);
    }
    const bool export5 = text.starts_with(registry::kRegVersion5Header);
    const bool export4 = text.starts_with(registry::kRegedit4Header) &&
                         (text.size() == registry::kRegedit4Header.size() ||
                          text[registry::kRegedit4Header.size()] == '\r' ||
                          text[registry::kRegedit4Header.size()] == '\n');
    return export5 || export4 ? DeviceListKind::RegExport : DeviceListKind::Profile;
}

std::optional<DeviceTreeLayout> findDeviceTreeLayout(registry::RegistryStore &store)
{
    const auto system = systemHiveKey(store);
    if (const auto controlSet = registry::controlSetInUse(store, system)) {
        const auto root = system + "\\" + *controlSet + "\\" + std::string(registry::kEnumKey);
        if (hasKey(store, root)) {
            return DeviceTreeLayout{root, true};
        }
    }
    if (hasKey(store, kWindows9xLayout.EnumRoot)) {
        return kWindows9xLayout;
    }
    return std::nullopt;
}

DeviceListStore openDeviceListStore(const std::filesystem::path &file, DeviceListKind kind)
{
    DeviceListStore result;
    if (kind == DeviceListKind::Hive) {
        auto opened = registry::openOfflineHive(file);
        result.error = std::move(opened.error);
        result.store = std::move(opened.store);
    } else {
        auto store = std::make_unique<registry::MemoryStore>();
        // An export of a SYSTEM hive that does not say where the hive was loaded (hivexregedit
        // without --prefix) is read as the local machine's SYSTEM key.
        result.error =
            store->loadRegFile(file, registry::HiveMount{registry::kLocalMachine, "SYSTEM"});
        result.store = std::move(store);
    }
    if (result.error || !result.store) {
        result.store.reset();
        if (!result.error) {
            result.error = Error{1, "cannot open " + utf8FromPath(file)};
        }
        return result;
    }
    if (const auto layout = findDeviceTreeLayout(*result.store)) {
        result.layout = *layout;
    } else {
        result.store.reset();
        result.error = Error{1, utf8FromPath(file) + " holds no device tree"};
    }
    return result;
}

} // namespace tollen::inventory
