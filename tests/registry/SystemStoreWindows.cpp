#include "RegistryTestStores.h"
#include "registry/RegFile.h"
#include "registry/RegRoots.h"
#include "registry/StoreWalk.h"
#include "registry/WindowsStore.h"

#include <random>

namespace tollen::registry::testing {
namespace {

/// The real registry with every predefined root moved to a private key of its own under
/// HKEY_CURRENT_USER\Software, so that tests can write the fixture's HKEY_LOCAL_MACHINE\SYSTEM
/// without touching the system's. The private key goes with the store.
class PrivateKeyStore final : public RegistryStore
{
public:
    PrivateKeyStore()
    {
        static std::mt19937_64 generator{std::random_device{}()};
        m_base = "Software\\Tollen tests\\" + std::to_string(generator() & 0xFFFFFFFFFFULL);
    }
    ~PrivateKeyStore() override
    {
        for (const auto &[root, handle] : m_roots) {
            m_system.closeKey(handle);
        }
        deleteKeyTree(m_system, kCurrentUser, m_base);
    }
    PrivateKeyStore(const PrivateKeyStore &) = delete;
    PrivateKeyStore &operator=(const PrivateKeyStore &) = delete;

    long openKey(RegistryHandle root, std::string_view path, std::uint32_t access,
                 RegistryHandle &key) override
    {
        return m_system.openKey(moved(root), path, access, key);
    }
    long createKey(RegistryHandle root, std::string_view path, RegistryHandle &key) override
    {
        return m_system.createKey(moved(root), path, key);
    }
    long closeKey(RegistryHandle key) override { return m_system.closeKey(key); }
    long deleteKey(RegistryHandle root, std::string_view path) override
    {
        return m_system.deleteKey(moved(root), path);
    }
    long deleteValue(RegistryHandle key, std::string_view name) override
    {
        return m_system.deleteValue(moved(key), name);
    }
    long queryValue(RegistryHandle key, std::string_view name, std::uint32_t &type,
                    std::uint8_t *data, std::uint32_t &size) override
    {
        return m_system.queryValue(moved(key), name, type, data, size);
    }
    long setValue(RegistryHandle key, std::string_view name, std::uint32_t type,
                  const std::uint8_t *data, std::uint32_t size) override
    {
        return m_system.setValue(moved(key), name, type, data, size);
    }
    long queryInfoKey(RegistryHandle key, std::uint32_t &longestValueName) override
    {
        return m_system.queryInfoKey(moved(key), longestValueName);
    }
    long enumValue(RegistryHandle key, std::uint32_t index, char *name,
                   std::uint32_t &length) override
    {
        return m_system.enumValue(moved(key), index, name, length);
    }
    long enumKey(RegistryHandle key, std::uint32_t index, char *name, std::uint32_t length) override
    {
        return m_system.enumKey(moved(key), index, name, length);
    }
    long connectRegistry(std::string_view machine, RegistryHandle root,
                         RegistryHandle &key) override
    {
        return m_system.connectRegistry(machine, root, key);
    }

private:
    /// The private key standing for a predefined root; other handles stay.
    RegistryHandle moved(RegistryHandle handle)
    {
        if (rootName(handle).empty()) {
            return handle;
        }
        if (const auto known = m_roots.find(handle); known != m_roots.end()) {
            return known->second;
        }
        RegistryHandle key = 0;
        const long created =
            m_system.createKey(kCurrentUser, m_base + "\\" + std::string(rootName(handle)), key);
        EXPECT_EQ(created, kSuccess);
        m_roots.emplace(handle, key);
        return key;
    }

    WindowsStore m_system;
    std::string m_base;
    std::map<RegistryHandle, RegistryHandle> m_roots;
};

} // namespace

std::unique_ptr<RegistryStore> makeSystemStore()
{
    auto store = std::make_unique<PrivateKeyStore>();
    const RegFileParse parsed = parseRegFile(tollen::testing::readFile(fixture("system.reg")));
    EXPECT_FALSE(parsed.error) << parsed.error.message;
    const Error applied = applyRegEdits(parsed.edits, *store);
    EXPECT_FALSE(applied) << applied.message;
    return store;
}

std::string systemStoreKind()
{
    return "windows";
}

} // namespace tollen::registry::testing
