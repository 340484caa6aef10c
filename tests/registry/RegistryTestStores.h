#pragma once
// The stores the registry tests read: the SYSTEM fixture loaded into a memory store, and the
// same fixture in the store of the system the tests run on (a hive made at build time on Linux,
// a private key of the real registry on Windows). Files the tests write go to one private folder
// per test program, removed when the program ends.

#include "TestServers.h"
#include "registry/MemoryStore.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>

namespace tollen::registry::testing {

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

/// The test program's own folder for the files it writes.
inline const std::filesystem::path &scratchFolder()
{
    static const tollen::testing::TemporaryFolder folder;
    return folder.path();
}

/// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedVariable
{
public:
    ScopedVariable(const char *name, const char *value) : m_name(name)
    {
        if (const char *old = std::getenv(name)) {
            m_old = old;
        }
        tollen::testing::setEnvironmentVariable(name, value);
    }
    ~ScopedVariable() { tollen::testing::setEnvironmentVariable(m_name, m_old); }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

inline constexpr std::int32_t kLocalMachineKey = static_cast<std::int32_t>(kLocalMachine);

} // namespace tollen::registry::testing
