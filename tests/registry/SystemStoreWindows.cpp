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
class PrivateKeyStore final : public ForwardingStore<WindowsStore>
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
            m_inner.closeKey(handle);
        }
        deleteKeyTree(m_inner, kCurrentUser, m_base);
    }
    PrivateKeyStore(const PrivateKeyStore &) = delete;
    PrivateKeyStore &operator=(const PrivateKeyStore &) = delete;

private:
    /// The private key standing for a predefined root; other handles stay.
    RegistryHandle translate(RegistryHandle handle) override
    {
        if (rootName(handle).empty()) {
            return handle;
        }
        if (const auto known = m_roots.find(handle); known != m_roots.end()) {
            return known->second;
        }
        RegistryHandle key = 0;
        const long created =
            m_inner.createKey(kCurrentUser, m_base + "\\" + std::string(rootName(handle)), key);
        EXPECT_EQ(created, kSuccess);
        m_roots.emplace(handle, key);
        return key;
    }

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
