#pragma once

#include "controls/ProgressBar.h"
#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

/// The bar shows the fraction in kSteps steps (sizes of files pass the bar's integer range); a
/// maximum of 0 or less shows the busy marquee.
class Win32ProgressBar : public HwndControl<controls::ProgressBar>
{
public:
    static constexpr int kSteps = 10000;

    explicit Win32ProgressBar(const Placement &placement);

protected:
    void progressChanged() override;
};

} // namespace tollen::ui::win32
