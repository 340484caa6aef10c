#include "registry/MemoryStore.h"

#include "core/AtomicFileWriter.h"
#include "core/PathText.h"
#include "core/Text.h"
#include "core/Utf16.h"
#include "registry/CallerBuffer.h"
#include "registry/KeyPath.h"
#include "registry/RegRoots.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace tollen::registry {

struct MemoryStore::Node
{
    struct Entry
    {
        std::string name;
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };

    std::string name;
    std::string sortName; // upper-case name: children are kept in this order
    std::size_t depth = 0;
    bool deleted = false;
    std::vector<NodePointer> children;
    std::vector<Entry> values;

    std::vector<NodePointer>::iterator lowerBound(const std::string &upperName)
    {
        return std::lower_bound(children.begin(), children.end(), upperName,
                                [](const NodePointer &child, const std::string &wanted) {
                                    return child->sortName < wanted;
                                });
    }

    NodePointer child(std::string_view childName)
    {
        const auto upperName = toUpper(childName);
        const auto found = lowerBound(upperName);
        return found != children.end() && (*found)->sortName == upperName ? *found : nullptr;
    }

    NodePointer addChild(std::string_view childName)
    {
        auto node = std::make_shared<Node>();
        node->name = childName;
        node->sortName = toUpper(childName);
        node->depth = depth + 1;
        children.insert(lowerBound(node->sortName), node);
        return node;
    }

    Entry *value(std::string_view valueName)
    {
        const auto found = std::find_if(values.begin(), values.end(), [&](const Entry &entry) {
            return equalsIgnoringCase(entry.name, valueName);
        });
        return found == values.end() ? nullptr : &*found;
    }

    NodePointer clone() const
    {
        auto copy = std::make_shared<Node>(*this);
        for (auto &child : copy->children) {
            child = child->clone();
        }
        return copy;
    }
};

namespace {

std::string machineKey(std::string_view machine)
{
    while (!machine.empty() && machine.front() == '\\') {
        machine.remove_prefix(1);
    }
    return toUpper(machine);
}

} // namespace

MemoryStore::MemoryStore()
{
    for (const auto root : predefinedRoots()) {
        m_roots[root] = std::make_shared<Node>();
    }
}

MemoryStore::~MemoryStore() = default;

MemoryStore &MemoryStore::addRemoteMachine(std::string_view name)
{
    auto &machine = m_remoteMachines[machineKey(name)];
    if (!machine) {
        machine = std::make_unique<MemoryStore>();
    }
    return *machine;
}

Error MemoryStore::loadRegFile(const std::filesystem::path &file,
                               const std::optional<HiveMount> &mount)
{
    std::ifstream stream(file, std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(stream), {});
    if (!stream && !stream.eof()) {
        return {1, utf8FromPath(file) + ": cannot be read"};
    }
    if (auto error = loadRegText(bytes, mount)) {
        error.message = utf8FromPath(file) + ": " + error.message;
        return error;
    }
    return {};
}

Error MemoryStore::loadRegText(std::string_view bytes, const std::optional<HiveMount> &mount)
{
    const auto parsed = parseRegFile(bytes, mount);
    if (parsed.error) {
        return parsed.error;
    }
    // The edits are checked while parsing, so applying them should not fail; if it does, the
    // store goes back to what it held before.
    auto saved = copyRoots();
    if (auto error = applyRegEdits(parsed.edits, *this)) {
        m_roots = std::move(saved);
        return error;
    }
    return {};
}

Error MemoryStore::saveRegFile(const std::filesystem::path &file, RegFormat format)
{
    const auto text = writeRegFile(*this, format);
    if (text.error) {
        return text.error;
    }
    return writeFileAtomically(file, text.bytes);
}

std::map<RegistryHandle, MemoryStore::NodePointer> MemoryStore::copyRoots() const
{
    std::map<RegistryHandle, NodePointer> copy;
    for (const auto &[handle, node] : m_roots) {
        copy[handle] = node->clone();
    }
    return copy;
}

MemoryStore::NodePointer MemoryStore::resolveHandle(RegistryHandle handle) const
{
    if (const auto root = m_roots.find(handle); root != m_roots.end()) {
        return root->second;
    }
    const auto open = m_handles.find(handle);
    return open == m_handles.end() ? nullptr : open->second;
}

long MemoryStore::liveNode(RegistryHandle handle, NodePointer &node) const
{
    node = resolveHandle(handle);
    if (!node) {
        return kInvalidHandle;
    }
    return node->deleted ? kKeyDeleted : kSuccess;
}

RegistryHandle MemoryStore::issueHandle(NodePointer node)
{
    const auto handle = m_nextHandle++;
    m_handles[handle] = std::move(node);
    return handle;
}

long MemoryStore::openKey(RegistryHandle root, std::string_view path, std::uint32_t /*access*/,
                          RegistryHandle &key)
{
    NodePointer node;
    if (const auto result = liveNode(root, node); result != kSuccess) {
        return result;
    }
    const auto names = splitKeyPath(path);
    if (!names) {
        return kFileNotFound;
    }
    for (const auto name : *names) {
        node = node->child(name);
        if (!node) {
            return kFileNotFound;
        }
    }
    key = issueHandle(std::move(node));
    return kSuccess;
}

long MemoryStore::createKey(RegistryHandle root, std::string_view path, RegistryHandle &key)
{
    NodePointer node;
    if (const auto result = liveNode(root, node); result != kSuccess) {
        return result;
    }
    const auto names = splitKeyPath(path);
    if (!names || node->depth + names->size() > kMaxKeyDepth) {
        return kBadPath;
    }
    for (const auto name : *names) {
        auto next = node->child(name);
        node = next ? next : node->addChild(name);
    }
    key = issueHandle(std::move(node));
    return kSuccess;
}

long MemoryStore::closeKey(RegistryHandle key)
{
    if (m_roots.count(key) != 0) {
        return kSuccess;
    }
    return m_handles.erase(key) != 0 ? kSuccess : kInvalidHandle;
}

long MemoryStore::deleteKey(RegistryHandle root, std::string_view path)
{
    NodePointer parent;
    if (const auto result = liveNode(root, parent); result != kSuccess) {
        return result;
    }
    const auto names = splitKeyPath(path);
    if (!names) {
        return kFileNotFound;
    }
    if (names->empty()) {
        return kAccessDenied;
    }
    for (std::size_t index = 0; index + 1 < names->size(); ++index) {
        parent = parent->child((*names)[index]);
        if (!parent) {
            return kFileNotFound;
        }
    }
    const auto upperName = toUpper(names->back());
    const auto found = parent->lowerBound(upperName);
    if (found == parent->children.end() || (*found)->sortName != upperName) {
        return kFileNotFound;
    }
    if (!(*found)->children.empty()) {
        return kAccessDenied;
    }
    (*found)->deleted = true;
    parent->children.erase(found);
    return kSuccess;
}

long MemoryStore::deleteValue(RegistryHandle key, std::string_view name)
{
    NodePointer node;
    if (const auto result = liveNode(key, node); result != kSuccess) {
        return result;
    }
    const auto found =
        std::find_if(node->values.begin(), node->values.end(), [&](const Node::Entry &entry) {
            return equalsIgnoringCase(entry.name, name);
        });
    if (found == node->values.end()) {
        return kFileNotFound;
    }
    node->values.erase(found);
    return kSuccess;
}

long MemoryStore::queryValue(RegistryHandle key, std::string_view name, std::uint32_t &type,
                             std::uint8_t *data, std::uint32_t &size)
{
    NodePointer node;
    if (const auto result = liveNode(key, node); result != kSuccess) {
        return result;
    }
    const auto *entry = node->value(name);
    if (entry == nullptr) {
        return kFileNotFound;
    }
    type = entry->type;
    return copyValueData(entry->data, data, size);
}

long MemoryStore::setValue(RegistryHandle key, std::string_view name, std::uint32_t type,
                           const std::uint8_t *data, std::uint32_t size)
{
    NodePointer node;
    if (const auto result = liveNode(key, node); result != kSuccess) {
        return result;
    }
    if (utf16Length(name) > kMaxValueNameLength || (data == nullptr && size != 0)) {
        return kInvalidParameter;
    }
    std::vector<std::uint8_t> bytes(data, data + size);
    if (auto *entry = node->value(name)) {
        entry->type = type;
        entry->data = std::move(bytes);
    } else {
        node->values.push_back({std::string(name), type, std::move(bytes)});
    }
    return kSuccess;
}

long MemoryStore::queryInfoKey(RegistryHandle key, std::uint32_t &longestValueName)
{
    NodePointer node;
    if (const auto result = liveNode(key, node); result != kSuccess) {
        return result;
    }
    std::size_t longest = 0;
    for (const auto &entry : node->values) {
        longest = std::max(longest, entry.name.size());
    }
    longestValueName = static_cast<std::uint32_t>(longest);
    return kSuccess;
}

long MemoryStore::enumValue(RegistryHandle key, std::uint32_t index, char *name,
                            std::uint32_t &length)
{
    NodePointer node;
    if (const auto result = liveNode(key, node); result != kSuccess) {
        return result;
    }
    if (index >= node->values.size()) {
        return kNoMoreItems;
    }
    const auto &entryName = node->values[index].name;
    const auto result = copyName(entryName, name, length);
    if (result == kSuccess) {
        length = static_cast<std::uint32_t>(entryName.size());
    }
    return result;
}

long MemoryStore::enumKey(RegistryHandle key, std::uint32_t index, char *name, std::uint32_t length)
{
    NodePointer node;
    if (const auto result = liveNode(key, node); result != kSuccess) {
        return result;
    }
    if (index >= node->children.size()) {
        return kNoMoreItems;
    }
    return copyName(node->children[index]->name, name, length);
}

long MemoryStore::connectRegistry(std::string_view machine, RegistryHandle root,
                                  RegistryHandle &key)
{
    const auto remote = m_remoteMachines.find(machineKey(machine));
    if (remote == m_remoteMachines.end()) {
        return kBadNetworkPath;
    }
    const auto node = remote->second->m_roots.find(root);
    if (node == remote->second->m_roots.end()) {
        return kInvalidHandle;
    }
    key = issueHandle(node->second);
    return kSuccess;
}

} // namespace tollen::registry
