#pragma once
// Opening an offline Windows registry hive (the SYSTEM file of a Windows installation) as a
// read-only store. The Linux build reads hives with libhivex (HiveStore); the Windows build has
// no hive reader and says so.

#include "core/Error.h"
#include "registry/RegistryStore.h"

#include <filesystem>
#include <memory>

namespace tollen::registry {

struct OfflineHiveOpen
{
    std::unique_ptr<RegistryStore> store;
    Error error;
};

/// The hive `systemHive` as a store; an error names the file and why it cannot be read.
OfflineHiveOpen openOfflineHive(const std::filesystem::path &systemHive);

} // namespace tollen::registry
