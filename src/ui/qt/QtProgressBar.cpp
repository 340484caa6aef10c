#include "ui/qt/QtProgressBar.h"

#include <algorithm>
#include <cmath>

namespace tollen::ui::qt {

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
    const int step = static_cast<int>(std::lround(fraction * kSteps));
    if (step != widget()->value()) {
        // QProgressBar repaints at once on each new step; a transfer moves through them far
        // faster than a screen shows them, so the bar is drawn at the next event pass instead.
        widget()->setUpdatesEnabled(false);
        widget()->setValue(step);
        widget()->setUpdatesEnabled(true);
    }
}

} // namespace tollen::ui::qt
