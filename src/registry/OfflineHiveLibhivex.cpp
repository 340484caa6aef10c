#include "registry/HiveStore.h"
#include "registry/OfflineHive.h"

namespace tollen::registry {

OfflineHiveOpen openOfflineHive(const std::filesystem::path &systemHive)
{
    auto opened = HiveStore::open(systemHive);
    return {std::move(opened.store), std::move(opened.error)};
}

} // namespace tollen::registry
