#pragma once
// The version of the system the program runs on, for the splash. On Windows it is the system's
// real version (RtlGetVersion, which unlike GetVersionExW does not answer with an older
// version to programs without a compatibility manifest). On Linux the device tree is given in
// the NT layout, so this machine reports the NT family with version 0.0.

#include "ui/VersionProvider.h"

namespace tollen::ui {

class SystemVersionProvider : public VersionProvider
{
public:
    std::optional<WindowsVersion> query() const override;
};

} // namespace tollen::ui
