#pragma once

#include "controls/Timer.h"

#include <QTimer>

namespace tollen::ui::qt {

/// Ticks while enabled with an interval above 0.
class QtTimer : public controls::Timer
{
public:
    QtTimer();

protected:
    void timerChanged() override;

private:
    QTimer m_timer;
};

} // namespace tollen::ui::qt
