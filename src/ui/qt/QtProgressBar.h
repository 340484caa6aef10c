#pragma once

#include "controls/ProgressBar.h"
#include "ui/qt/WidgetControl.h"

#include <QProgressBar>

namespace tollen::ui::qt {

/// A progress bar without text (the percentage label beside it shows the figure). It draws the
/// fraction value / maximum in fixed steps, so sizes beyond the widget's integer range are shown
/// too; a maximum of 0 or less shows the busy animation.
class QtProgressBar : public WidgetControl<controls::ProgressBar, QProgressBar>
{
public:
    static constexpr int kSteps = 1000;

    explicit QtProgressBar(Placement placement);

protected:
    void progressChanged() override;
};

} // namespace tollen::ui::qt
