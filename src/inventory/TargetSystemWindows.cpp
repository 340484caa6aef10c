#include "core/RunningWindowsVersion.h"
#include "inventory/TargetSystem.h"

#include <windows.h>

namespace tollen::inventory {

namespace {

/// The processor's architecture, also when this program runs emulated (x86 on x64 or ARM64).
std::optional<std::string> nativeArchitecture()
{
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_INTEL:
        return "x86";
    case PROCESSOR_ARCHITECTURE_AMD64:
        return "amd64";
    case PROCESSOR_ARCHITECTURE_ARM64:
        return "arm64";
    case PROCESSOR_ARCHITECTURE_ARM:
        return "arm";
    case PROCESSOR_ARCHITECTURE_IA64:
        return "ia64";
    default:
        return std::nullopt;
    }
}

} // namespace

TargetSystem thisMachineTarget()
{
    TargetSystem target{nativeArchitecture(), std::nullopt};
    if (const auto running = runningWindowsVersion()) {
        target.version =
            WindowsVersion{static_cast<int>(running->major), static_cast<int>(running->minor),
                           static_cast<int>(running->build)};
    }
    return target;
}

} // namespace tollen::inventory
