#pragma once
// Where a Windows registry keeps its device tree, below HKEY_LOCAL_MACHINE: the key "Enum" with
// one subkey per bus. Windows 95/98/ME keep it at the top; the NT family keeps it in the control
// set in use. Both paths end in a backslash, so a bus name can follow.

#include <string_view>

namespace tollen::registry {

/// The device tree's key: the whole root on Windows 95/98/ME, the last piece of it on NT.
inline constexpr std::string_view kEnumKey = "Enum\\";

/// The device tree of a running NT system.
inline constexpr std::string_view kNtEnumRoot = "SYSTEM\\CurrentControlSet\\Enum\\";

} // namespace tollen::registry
