#include "registry/HiveStore.h"

#include "core/Text.h"
#include "registry/CallerBuffer.h"
#include "registry/ControlSet.h"
#include "registry/HiveStringData.h"
#include "registry/KeyPath.h"
#include "registry/RegRoots.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <hivex.h>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

namespace tollen::registry {

namespace {

struct HiveCloser
{
    void operator()(hive_h *hive) const { hivex_close(hive); }
};
using HivePointer = std::unique_ptr<hive_h, HiveCloser>;

struct MallocFree
{
    void operator()(void *memory) const { std::free(memory); }
};
template <typename T> using MallocPointer = std::unique_ptr<T, MallocFree>;

constexpr std::string_view kCurrentControlSet = "CurrentControlSet";

/// Names and data hivex hands out in memory the caller frees.
std::string takeText(char *text)
{
    const MallocPointer<char> owner(text);
    return text == nullptr ? std::string() : std::string(text);
}

std::vector<std::size_t> takeList(std::size_t *items)
{
    const MallocPointer<std::size_t> owner(items);
    std::vector<std::size_t> list;
    for (auto *item = items; item != nullptr && *item != 0; ++item) {
        list.push_back(*item);
    }
    return list;
}

std::vector<std::uint8_t> presentedData(std::uint32_t type, std::vector<std::uint8_t> bytes)
{
    if (type != kString && type != kExpandString && type != kMultiString) {
        return bytes;
    }
    const auto text = hiveStringText(bytes);
    return {text.begin(), text.end()};
}

struct RawValue
{
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

std::optional<RawValue> readValue(hive_h *hive, hive_value_h value)
{
    // Types beyond hivex's enumeration (any number is allowed) are read as plain integers.
    std::underlying_type_t<hive_type> type = 0;
    std::size_t length = 0;
    errno = 0;
    char *raw = hivex_value_value(hive, value, reinterpret_cast<hive_type *>(&type), &length);
    if (raw == nullptr) {
        return std::nullopt;
    }
    const MallocPointer<char> owner(raw);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(raw);
    return RawValue{static_cast<std::uint32_t>(type),
                    std::vector<std::uint8_t>(bytes, bytes + length)};
}

std::optional<hive_value_h> findValue(hive_h *hive, hive_node_h node, std::string_view name)
{
    for (const auto value : takeList(hivex_node_values(hive, node))) {
        if (equalsIgnoringCase(takeText(hivex_value_key(hive, value)), name)) {
            return value;
        }
    }
    return std::nullopt;
}

/// A subkey of a hive key: its name and its node.
struct HiveChild
{
    std::string name;
    hive_node_h node = 0;
};

/// The subkeys of `node` that a path reaches, in the hive's order. A damaged hive may list a
/// key that is not its own (its parent link names another key: a list shared with another key,
/// or one that leads back up), the same name twice, or a name no path holds (empty, or with a
/// backslash). Those are left out: the keys seen form a tree, every name opens the key it
/// lists, and every walk of the hive ends.
std::vector<HiveChild> reachableChildren(hive_h *hive, hive_node_h node)
{
    std::vector<HiveChild> children;
    std::set<std::string> upperNames;
    for (const auto child : takeList(hivex_node_children(hive, node))) {
        auto name = takeText(hivex_node_name(hive, child));
        errno = 0;
        if (!name.empty() && name.find('\\') == std::string::npos &&
            hivex_node_parent(hive, child) == node && upperNames.insert(toUpper(name)).second) {
            children.push_back({std::move(name), child});
        }
    }
    return children;
}

hive_node_h childNamed(const std::vector<HiveChild> &children, std::string_view name)
{
    const auto found = std::find_if(children.begin(), children.end(), [&](const HiveChild &child) {
        return equalsIgnoringCase(child.name, name);
    });
    return found == children.end() ? 0 : found->node;
}

struct OpenedHive
{
    HivePointer hive;
    Error error;
};

OpenedHive openHive(const std::filesystem::path &file)
{
    errno = 0;
    HivePointer hive(hivex_open(file.c_str(), 0));
    if (!hive) {
        const auto reason = errno != 0 ? std::strerror(errno) : "unknown failure";
        return {nullptr, {1, file.string() + ": not a readable registry hive (" + reason + ")"}};
    }
    if (hivex_root(hive.get()) == 0) {
        return {nullptr, {1, file.string() + ": the hive has no root key"}};
    }
    return {std::move(hive), {}};
}

} // namespace

struct HiveStore::Hives
{
    HivePointer system;
    HivePointer software;
    hive_node_h currentControlSet = 0;

    /// reachableChildren of a node, worked out once.
    const std::vector<HiveChild> &children(hive_h *hive, hive_node_h node)
    {
        const auto key = std::make_pair(hive, node);
        auto found = m_children.find(key);
        if (found == m_children.end()) {
            found = m_children.emplace(key, reachableChildren(hive, node)).first;
        }
        return found->second;
    }

private:
    std::map<std::pair<hive_h *, hive_node_h>, std::vector<HiveChild>> m_children;
};

/// Where a handle stands: an empty predefined root, HKEY_LOCAL_MACHINE (whose subkeys are the
/// hives), or a key inside a hive.
struct HiveStore::Position
{
    enum class Place { EmptyRoot, LocalMachine, HiveKey };
    Place place = Place::EmptyRoot;
    hive_h *hive = nullptr;
    hive_node_h node = 0;
    bool systemRoot = false;
    mutable std::optional<std::vector<std::string>> childNames;
};

HiveStoreOpen HiveStore::open(const std::filesystem::path &systemHive,
                              const std::filesystem::path &softwareHive)
{
    auto hives = std::make_unique<Hives>();
    auto system = openHive(systemHive);
    if (system.error) {
        return {nullptr, system.error};
    }
    hives->system = std::move(system.hive);
    if (!softwareHive.empty()) {
        auto software = openHive(softwareHive);
        if (software.error) {
            return {nullptr, software.error};
        }
        hives->software = std::move(software.hive);
    }
    std::unique_ptr<HiveStore> store(new HiveStore(std::move(hives)));
    // A hive that holds a key named CurrentControlSet itself needs no stand-in for it.
    const auto controlSet = controlSetInUse(*store, "SYSTEM");
    if (controlSet && !equalsIgnoringCase(*controlSet, kCurrentControlSet)) {
        auto &opened = *store->m_hives;
        opened.currentControlSet = childNamed(
            opened.children(opened.system.get(), hivex_root(opened.system.get())), *controlSet);
    }
    return {std::move(store), {}};
}

HiveStore::HiveStore(std::unique_ptr<Hives> hives) : m_hives(std::move(hives))
{
    for (const auto root : predefinedRoots()) {
        auto position = std::make_unique<Position>();
        if (root == kLocalMachine) {
            position->place = Position::Place::LocalMachine;
        }
        m_roots[root] = std::move(position);
    }
}

HiveStore::~HiveStore() = default;

const HiveStore::Position *HiveStore::resolveHandle(RegistryHandle handle) const
{
    if (const auto root = m_roots.find(handle); root != m_roots.end()) {
        return root->second.get();
    }
    const auto open = m_handles.find(handle);
    return open == m_handles.end() ? nullptr : open->second.get();
}

std::optional<HiveStore::Position> HiveStore::child(const Position &parent,
                                                    std::string_view name) const
{
    Position next;
    next.place = Position::Place::HiveKey;
    if (parent.place == Position::Place::LocalMachine) {
        next.systemRoot = equalsIgnoringCase(name, "SYSTEM");
        next.hive = next.systemRoot                        ? m_hives->system.get()
                    : equalsIgnoringCase(name, "SOFTWARE") ? m_hives->software.get()
                                                           : nullptr;
        next.node = next.hive == nullptr ? 0 : hivex_root(next.hive);
    } else if (parent.place == Position::Place::HiveKey) {
        next.hive = parent.hive;
        const bool standIn = parent.systemRoot && m_hives->currentControlSet != 0 &&
                             equalsIgnoringCase(name, kCurrentControlSet);
        next.node = standIn ? m_hives->currentControlSet
                            : childNamed(m_hives->children(parent.hive, parent.node), name);
    }
    if (next.node == 0) {
        return std::nullopt;
    }
    return next;
}

const std::vector<std::string> &HiveStore::childNames(const Position &position) const
{
    if (position.childNames) {
        return *position.childNames;
    }
    std::vector<std::string> names;
    if (position.place == Position::Place::LocalMachine) {
        if (m_hives->software) {
            names.emplace_back("SOFTWARE");
        }
        names.emplace_back("SYSTEM");
    } else if (position.place == Position::Place::HiveKey) {
        for (const auto &child : m_hives->children(position.hive, position.node)) {
            names.push_back(child.name);
        }
        if (position.systemRoot && m_hives->currentControlSet != 0) {
            const auto upper = toUpper(kCurrentControlSet);
            const auto place =
                std::find_if(names.begin(), names.end(),
                             [&](const std::string &name) { return toUpper(name) > upper; });
            names.insert(place, std::string(kCurrentControlSet));
        }
    }
    position.childNames = std::move(names);
    return *position.childNames;
}

long HiveStore::openKey(RegistryHandle root, std::string_view path, std::uint32_t /*access*/,
                        RegistryHandle &key)
{
    const auto *start = resolveHandle(root);
    if (start == nullptr) {
        return kInvalidHandle;
    }
    const auto names = splitKeyPath(path);
    if (!names) {
        return kFileNotFound;
    }
    auto position = std::make_unique<Position>(*start);
    position->childNames.reset();
    for (const auto name : *names) {
        auto next = child(*position, name);
        if (!next) {
            return kFileNotFound;
        }
        *position = std::move(*next);
    }
    key = m_nextHandle++;
    m_handles[key] = std::move(position);
    return kSuccess;
}

long HiveStore::createKey(RegistryHandle /*root*/, std::string_view /*path*/,
                          RegistryHandle & /*key*/)
{
    return kAccessDenied;
}

long HiveStore::closeKey(RegistryHandle key)
{
    if (m_roots.count(key) != 0) {
        return kSuccess;
    }
    return m_handles.erase(key) != 0 ? kSuccess : kInvalidHandle;
}

long HiveStore::deleteKey(RegistryHandle /*root*/, std::string_view /*path*/)
{
    return kAccessDenied;
}

long HiveStore::deleteValue(RegistryHandle /*key*/, std::string_view /*name*/)
{
    return kAccessDenied;
}

long HiveStore::setValue(RegistryHandle /*key*/, std::string_view /*name*/, std::uint32_t /*type*/,
                         const std::uint8_t * /*data*/, std::uint32_t /*size*/)
{
    return kAccessDenied;
}

long HiveStore::queryValue(RegistryHandle key, std::string_view name, std::uint32_t &type,
                           std::uint8_t *data, std::uint32_t &size)
{
    const auto *position = resolveHandle(key);
    if (position == nullptr) {
        return kInvalidHandle;
    }
    if (position->place != Position::Place::HiveKey) {
        return kFileNotFound;
    }
    const auto value = findValue(position->hive, position->node, name);
    if (!value) {
        return kFileNotFound;
    }
    auto raw = readValue(position->hive, *value);
    if (!raw) {
        return kRegistryCorrupt;
    }
    const auto bytes = presentedData(raw->type, std::move(raw->data));
    type = raw->type;
    return copyValueData(bytes, data, size);
}

long HiveStore::queryInfoKey(RegistryHandle key, std::uint32_t &longestValueName)
{
    const auto *position = resolveHandle(key);
    if (position == nullptr) {
        return kInvalidHandle;
    }
    std::size_t longest = 0;
    if (position->place == Position::Place::HiveKey) {
        for (const auto value : takeList(hivex_node_values(position->hive, position->node))) {
            longest = std::max(longest, takeText(hivex_value_key(position->hive, value)).size());
        }
    }
    longestValueName = static_cast<std::uint32_t>(longest);
    return kSuccess;
}

long HiveStore::enumValue(RegistryHandle key, std::uint32_t index, char *name,
                          std::uint32_t &length)
{
    const auto *position = resolveHandle(key);
    if (position == nullptr) {
        return kInvalidHandle;
    }
    if (position->place != Position::Place::HiveKey) {
        return kNoMoreItems;
    }
    const auto values = takeList(hivex_node_values(position->hive, position->node));
    if (index >= values.size()) {
        return kNoMoreItems;
    }
    const auto valueName = takeText(hivex_value_key(position->hive, values[index]));
    const auto result = copyName(valueName, name, length);
    if (result == kSuccess) {
        length = static_cast<std::uint32_t>(valueName.size());
    }
    return result;
}

long HiveStore::enumKey(RegistryHandle key, std::uint32_t index, char *name, std::uint32_t length)
{
    const auto *position = resolveHandle(key);
    if (position == nullptr) {
        return kInvalidHandle;
    }
    const auto &names = childNames(*position);
    if (index >= names.size()) {
        return kNoMoreItems;
    }
    return copyName(names[index], name, length);
}

long HiveStore::connectRegistry(std::string_view /*machine*/, RegistryHandle /*root*/,
                                RegistryHandle & /*key*/)
{
    return kBadNetworkPath;
}

} // namespace tollen::registry
