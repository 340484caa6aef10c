#pragma once
// Where the splash learns which Windows it runs on. The rules of the splash apply to whatever
// values a provider supplies; on Linux the device tree is given in the NT layout, so this
// machine reports the NT family with version 0.0.

#include <cstdint>
#include <optional>

namespace tollen::app {

struct WindowsVersion
{
    /// 0 Win32s on Windows 3.x, 1 Windows 95/98/ME, 2 the NT family.
    std::uint32_t platformId = 0;
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
};

class VersionProvider
{
public:
    virtual ~VersionProvider() = default;
    /// The running system's version; nullopt when it cannot be learnt.
    virtual std::optional<WindowsVersion> query() const = 0;
};

class LinuxVersionProvider : public VersionProvider
{
public:
    std::optional<WindowsVersion> query() const override { return WindowsVersion{2, 0, 0}; }
};

} // namespace tollen::app
