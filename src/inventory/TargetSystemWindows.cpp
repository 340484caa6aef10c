#include "inventory/TargetSystem.h"

#include <windows.h>

namespace tollen::inventory {

namespace {

using RtlGetVersionCall = LONG(WINAPI *)(OSVERSIONINFOW *);

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

/// The running system's version from ntdll's RtlGetVersion, which, unlike GetVersionEx, does not
/// report an older version to programs without a manifest naming the newer one.
std::optional<WindowsVersion> runningVersion()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr) {
        return std::nullopt;
    }
    // Through the generic function pointer type, which converts to any other without a warning.
    const auto generic = reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion"));
    const auto call = reinterpret_cast<RtlGetVersionCall>(generic);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // STATUS_SUCCESS is 0.
    if (call == nullptr || call(&info) != 0) {
        return std::nullopt;
    }
    return WindowsVersion{static_cast<int>(info.dwMajorVersion),
                          static_cast<int>(info.dwMinorVersion),
                          static_cast<int>(info.dwBuildNumber)};
}

} // namespace

TargetSystem thisMachineTarget()
{
    return TargetSystem{nativeArchitecture(), runningVersion()};
}

} // namespace tollen::inventory
