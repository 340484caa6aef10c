#include "controls/ProgressBar.h"

namespace tollen::controls {

void ProgressBar::setMaximum(double maximum)
{
    m_maximum = maximum;
    progressChanged();
}

void ProgressBar::setValue(double value)
{
    m_value = value;
    progressChanged();
}

} // namespace tollen::controls
