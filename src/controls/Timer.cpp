#include "controls/Timer.h"

namespace tollen::controls {

void Timer::setInterval(int milliseconds)
{
    m_interval = milliseconds;
    timerChanged();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    timerChanged();
}

} // namespace tollen::controls
