#include "core/PathText.h"
#include "registry/OfflineHive.h"

namespace tollen::registry {

OfflineHiveOpen openOfflineHive(const std::filesystem::path &systemHive)
{
    return {nullptr,
            Error{1, utf8FromPath(systemHive) +
                         " is an offline registry hive, which the Windows version of Tollen "
                         "cannot read. Export the hive's SYSTEM key with the Registry Editor "
                         "(a .reg file) and open that, or open the hive with the Linux version."}};
}

} // namespace tollen::registry
