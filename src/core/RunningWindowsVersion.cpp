#include "core/RunningWindowsVersion.h"

#include <windows.h>

namespace tollen {

std::optional<RunningWindowsVersion> runningWindowsVersion()
{
    using RtlGetVersionCall = LONG(WINAPI *)(OSVERSIONINFOW *);
    // Looked up at run time since the import libraries do not all have it.
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
    return RunningWindowsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                                 info.dwBuildNumber};
}

} // namespace tollen
