#include "ui/qt/QtProgressBar.h"

#include <algorithm>
#include <cmath>

namespace tollen::ui {

QtProgressBar::QtProgressBar(Placement placement) : WidgetControl(placement)
{
    widget()->setTextVisible(false);
    progressChanged();
}

void QtProgressBar::progressChanged()
{
    if (maximum() <= 0) {
        widget()->setRange(0, 0);
        return;
    }
    widget()->setRange(0, kSteps);
    const double fraction = std::clamp(value() / maximum(), 0.0, 1.0);
    widget()->setValue(static_cast<int>(std::lround(fraction * kSteps)));
}

} // namespace tollen::ui
