#pragma once
// The stores the registry tests read: the SYSTEM fixture loaded into a memory store, and the
// same fixture made into a hive at build time.

#include "registry/HiveStore.h"
#include "registry/MemoryStore.h"

#include <gtest/gtest.h>
#include <memory>
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

inline constexpr std::int32_t kLocalMachineKey = static_cast<std::int32_t>(kLocalMachine);

} // namespace tollen::registry::testing
