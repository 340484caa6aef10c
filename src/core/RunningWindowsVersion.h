#pragma once
// The version of the Windows system the program runs on (Windows builds only), from ntdll's
// RtlGetVersion, which, unlike GetVersionEx, does not report an older version to programs
// without a manifest naming the newer one.

#include <cstdint>
#include <optional>

namespace tollen {

struct RunningWindowsVersion
{
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

/// nullopt when the system does not tell.
std::optional<RunningWindowsVersion> runningWindowsVersion();

} // namespace tollen
