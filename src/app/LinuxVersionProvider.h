#pragma once
// On Linux the device tree is given in the NT layout, so this machine reports the NT family with
// version 0.0.

#include "ui/VersionProvider.h"

namespace tollen::app {

class LinuxVersionProvider : public ui::VersionProvider
{
public:
    std::optional<ui::WindowsVersion> query() const override { return ui::WindowsVersion{2, 0, 0}; }
};

} // namespace tollen::app
