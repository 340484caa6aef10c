#pragma once

#include "controls/controls.h"

#include <QTimer>

namespace tollen::ui {

/// Ticks while enabled with an interval above 0.
class QtTimer : public Timer
{
public:
    QtTimer();

protected:
    void timerChanged() override;

private:
    QTimer m_timer;
};

} // namespace tollen::ui
