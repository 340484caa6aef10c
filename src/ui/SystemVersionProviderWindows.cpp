#include "core/RunningWindowsVersion.h"
#include "ui/SystemVersionProvider.h"

namespace tollen::ui {

std::optional<WindowsVersion> SystemVersionProvider::query() const
{
    const auto running = runningWindowsVersion();
    if (!running) {
        return std::nullopt;
    }
    return WindowsVersion{running->platformId, running->major, running->minor};
}

} // namespace tollen::ui
