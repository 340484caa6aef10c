#pragma once
// The stores the registry tests read: the SYSTEM fixture in a memory store and in the system's
// own store (a hive made at build time on Linux, a private key of the registry on Windows).

#include "EnvironmentOverride.h"
#include "TestServers.h"
#include "registry/MemoryStore.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace tollen::registry::testing {

using tollen::testing::EnvironmentOverride;

inline std::string fixture(const std::string &name)
{
    return std::string(REGISTRY_FIXTURES) + "/" + name;
}

/// The SYSTEM fixture in the system's own store: "hive" on Linux, "windows" on Windows.
std::unique_ptr<RegistryStore> makeSystemStore();
/// The name of that store.
std::string systemStoreKind();

inline std::unique_ptr<RegistryStore> makeStore(const std::string &kind)
{
    if (kind == systemStoreKind()) {
        return makeSystemStore();
    }
    auto store = std::make_unique<MemoryStore>();
    const auto error = store->loadRegFile(fixture("system.reg"));
    EXPECT_FALSE(error) << error.message;
    return store;
}

inline const std::filesystem::path &scratchFolder()
{
    static const tollen::testing::TemporaryFolder folder;
    return folder.path();
}

/// The type and bytes of a value as the store gives them.
struct StoredValue
{
    std::uint32_t type = 0;
    std::string bytes;
    bool operator==(const StoredValue &) const = default;
};

inline StoredValue storedValue(RegistryStore &store, const std::string &path,
                               const std::string &name, RegistryHandle root = kLocalMachine)
{
    StoredValue value;
    RegistryHandle key = 0;
    EXPECT_EQ(store.openKey(root, path, kQueryValueAccess, key), kSuccess) << path;
    std::uint32_t size = 0;
    EXPECT_EQ(store.queryValue(key, name, value.type, nullptr, size), kSuccess) << name;
    value.bytes.resize(size);
    store.queryValue(key, name, value.type, reinterpret_cast<std::uint8_t *>(value.bytes.data()),
                     size);
    store.closeKey(key);
    return value;
}

/// The names of the subkeys of a key, in the store's order.
inline std::vector<std::string> subkeys(RegistryStore &store, RegistryHandle root,
                                        const std::string &path = {})
{
    RegistryHandle key = root;
    if (!path.empty()) {
        EXPECT_EQ(store.openKey(root, path, kEnumerateSubKeysAccess, key), kSuccess) << path;
    }
    std::vector<std::string> names;
    char name[1024];
    for (std::uint32_t index = 0; store.enumKey(key, index, name, sizeof name) == kSuccess;
         ++index) {
        names.emplace_back(name);
    }
    if (key != root) {
        store.closeKey(key);
    }
    return names;
}

/// A store that passes every call on to a store of its own, with each handle given first to
/// translate(); tests override the calls they change.
template <class Inner> class ForwardingStore : public RegistryStore
{
public:
    long openKey(RegistryHandle root, std::string_view path, std::uint32_t access,
                 RegistryHandle &key) override
    {
        return m_inner.openKey(translate(root), path, access, key);
    }
    long createKey(RegistryHandle root, std::string_view path, RegistryHandle &key) override
    {
        return m_inner.createKey(translate(root), path, key);
    }
    long closeKey(RegistryHandle key) override { return m_inner.closeKey(key); }
    long deleteKey(RegistryHandle root, std::string_view path) override
    {
        return m_inner.deleteKey(translate(root), path);
    }
    long deleteValue(RegistryHandle key, std::string_view name) override
    {
        return m_inner.deleteValue(translate(key), name);
    }
    long queryValue(RegistryHandle key, std::string_view name, std::uint32_t &type,
                    std::uint8_t *data, std::uint32_t &size) override
    {
        return m_inner.queryValue(translate(key), name, type, data, size);
    }
    long setValue(RegistryHandle key, std::string_view name, std::uint32_t type,
                  const std::uint8_t *data, std::uint32_t size) override
    {
        return m_inner.setValue(translate(key), name, type, data, size);
    }
    long queryInfoKey(RegistryHandle key, std::uint32_t &longestValueName) override
    {
        return m_inner.queryInfoKey(translate(key), longestValueName);
    }
    long enumValue(RegistryHandle key, std::uint32_t index, char *name,
                   std::uint32_t &length) override
    {
        return m_inner.enumValue(translate(key), index, name, length);
    }
    long enumKey(RegistryHandle key, std::uint32_t index, char *name, std::uint32_t length) override
    {
        return m_inner.enumKey(translate(key), index, name, length);
    }
    long connectRegistry(std::string_view machine, RegistryHandle root,
                         RegistryHandle &key) override
    {
        return m_inner.connectRegistry(machine, root, key);
    }

protected:
    virtual RegistryHandle translate(RegistryHandle handle) { return handle; }

    Inner m_inner;
};

inline constexpr std::int32_t kLocalMachineKey = static_cast<std::int32_t>(kLocalMachine);

} // namespace tollen::registry::testing
