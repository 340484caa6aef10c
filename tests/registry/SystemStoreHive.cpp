#include "RegistryTestStores.h"
#include "registry/HiveStore.h"

namespace tollen::registry::testing {

std::unique_ptr<RegistryStore> makeSystemStore()
{
    auto opened = HiveStore::open(REGISTRY_TEST_HIVE);
    EXPECT_FALSE(opened.error) << opened.error.message;
    return std::move(opened.store);
}

std::string systemStoreKind()
{
    return "hive";
}

} // namespace tollen::registry::testing
