#include "inventory/TargetSystem.h"

#include <sys/utsname.h>

namespace tollen::inventory {

TargetSystem thisMachineTarget()
{
    // Windows would run on this machine's processor; its version is not this system's to say.
    TargetSystem target;
    utsname names{};
    if (uname(&names) == 0) {
        target.architecture = architectureName(names.machine);
    }
    return target;
}

} // namespace tollen::inventory
