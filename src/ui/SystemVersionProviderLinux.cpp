#include "ui/SystemVersionProvider.h"

namespace tollen::ui {

std::optional<WindowsVersion> SystemVersionProvider::query() const
{
    return WindowsVersion{2, 0, 0};
}

} // namespace tollen::ui
