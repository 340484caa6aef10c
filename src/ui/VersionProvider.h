#pragma once
// Where the splash learns which Windows it runs on. The rules of the splash apply to whatever
// values a provider supplies; each program hands the splash the provider of its platform.

#include <cstdint>
#include <optional>

namespace tollen::ui {

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

} // namespace tollen::ui
