#include "registry/StoreWalk.h"

#include "registry/KeyPath.h"

namespace tollen::registry {

namespace {

long endOfList(long result)
{
    return result == kNoMoreItems ? kSuccess : result;
}

} // namespace

long listSubkeyNames(RegistryStore &store, RegistryHandle key, std::vector<std::string> &names)
{
    std::string buffer;
    for (std::uint32_t index = 0;; ++index) {
        buffer.assign(kMaxKeyNameBytes + 1, '\0');
        const auto result =
            store.enumKey(key, index, buffer.data(), static_cast<std::uint32_t>(buffer.size()));
        if (result != kSuccess) {
            return endOfList(result);
        }
        names.emplace_back(buffer.c_str());
    }
}

long listValueNames(RegistryStore &store, RegistryHandle key, std::vector<std::string> &names)
{
    std::uint32_t longest = 0;
    if (const auto result = store.queryInfoKey(key, longest); result != kSuccess) {
        return result;
    }
    std::string buffer;
    for (std::uint32_t index = 0;; ++index) {
        buffer.assign(std::size_t{longest} + 1, '\0');
        auto length = longest + 1;
        const auto result = store.enumValue(key, index, buffer.data(), length);
        if (result != kSuccess) {
            return endOfList(result);
        }
        names.push_back(buffer.substr(0, length));
    }
}

long deleteKeyTree(RegistryStore &store, RegistryHandle root, const std::string &path)
{
    RegistryHandle key = 0;
    const auto opened = store.openKey(root, path, kEnumerateSubKeysAccess, key);
    if (opened == kFileNotFound) {
        return kSuccess;
    }
    if (opened != kSuccess) {
        return opened;
    }
    std::vector<std::string> children;
    const auto listed = listSubkeyNames(store, key, children);
    store.closeKey(key);
    if (listed != kSuccess) {
        return listed;
    }
    for (const auto &child : children) {
        // A listed name that is not one key name (an empty one opens the key itself) would
        // never end the walk; the key is not deleted.
        if (!isKeyName(child)) {
            return kBadPath;
        }
        if (const auto result = deleteKeyTree(store, root, path + "\\" + child);
            result != kSuccess) {
            return result;
        }
    }
    return store.deleteKey(root, path);
}

} // namespace tollen::registry
