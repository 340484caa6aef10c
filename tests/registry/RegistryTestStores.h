#pragma once
// The stores the registry tests read: the SYSTEM fixture loaded into a memory store, and the
// same fixture made into a hive at build time. Files the tests write go to one private folder
// per test program, removed when the program ends.

#include "TestServers.h"
#include "registry/HiveStore.h"
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

inline std::unique_ptr<RegistryStore> makeStore(const std::string &kind)
{
    if (kind == "hive") {
        auto opened = HiveStore::open(REGISTRY_TEST_HIVE);
        EXPECT_FALSE(opened.error) << opened.error.message;
        return std::move(opened.store);
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
        ::setenv(name, value, 1);
    }
    ~ScopedVariable()
    {
        if (m_old) {
            ::setenv(m_name, m_old->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    ScopedVariable(const ScopedVariable &) = delete;
    ScopedVariable &operator=(const ScopedVariable &) = delete;

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

inline constexpr std::int32_t kLocalMachineKey = static_cast<std::int32_t>(kLocalMachine);

} // namespace tollen::registry::testing
