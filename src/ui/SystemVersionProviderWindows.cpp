#include "ui/SystemVersionProvider.h"

#include <windows.h>

namespace tollen::ui {

namespace {

using RtlGetVersionCall = LONG(WINAPI *)(OSVERSIONINFOW *);

/// ntdll's RtlGetVersion, looked up at run time since the import libraries do not all have it.
RtlGetVersionCall rtlGetVersion()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (ntdll == nullptr) {
        return nullptr;
    }
    // Through the generic function pointer type, which converts to any other without a warning.
    const auto generic = reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion"));
    return reinterpret_cast<RtlGetVersionCall>(generic);
}

} // namespace

std::optional<WindowsVersion> SystemVersionProvider::query() const
{
    const RtlGetVersionCall call = rtlGetVersion();
    if (call == nullptr) {
        return std::nullopt;
    }
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    // STATUS_SUCCESS is 0.
    if (call(&info) != 0) {
        return std::nullopt;
    }
    return WindowsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

} // namespace tollen::ui
