#pragma once
// The Windows system drivers are sought for: its processor architecture and its version, as far
// as the source tells them. What is unknown excludes no driver.

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace tollen::inventory {

struct WindowsVersion
{
    int major = 0;
    int minor = 0;
    /// The build number, when known ("10.0.19041").
    std::optional<int> build;

    bool operator==(const WindowsVersion &) const = default;
};

struct TargetSystem
{
    /// "x86", "amd64", "arm64", "arm" or "ia64", as INF decorations name them.
    std::optional<std::string> architecture;
    std::optional<WindowsVersion> version;

    bool operator==(const TargetSystem &) const = default;
};

/// The architecture a name stands for, letter case ignored: Windows' PROCESSOR_ARCHITECTURE
/// ("x86", "AMD64", "ARM64", "ARM", "IA64"), the Linux machine names ("i386" to "i686", "x86_64",
/// "aarch64", "armv7l" ...) and the decoration names ("amd64", "x64"); nullopt for any other.
std::optional<std::string> architectureName(std::string_view name);

/// "MAJOR.MINOR" or "MAJOR.MINOR.BUILD" ("6.1", "10.0.19041"); nullopt for anything else.
std::optional<WindowsVersion> parseWindowsVersion(std::string_view text);

/// The running system: on Linux the machine's architecture and no version; on Windows the
/// running system's architecture and version.
TargetSystem thisMachineTarget();

} // namespace tollen::inventory
