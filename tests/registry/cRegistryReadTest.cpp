#include "registry/MemoryStore.h"
#include "registry/cRegistry.h"

#include <gtest/gtest.h>

using namespace tollen;
using namespace tollen::registry;

TEST(cRegistryRead, Smoke)
{
    MemoryStore store;
    cRegistry registry(store);
    registry.setClassKey(static_cast<std::int32_t>(kLocalMachine));
    registry.setSectionKey("SOFTWARE\\Tollen");
    registry.setValueKey("Name");
    registry.setValueType(1);
    registry.setValue(std::string("abc"));
    EXPECT_EQ(std::get<std::string>(registry.Value()), "abc");
}
