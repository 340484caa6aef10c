#include "ui/qt/QtTimer.h"

namespace tollen::ui::qt {

QtTimer::QtTimer()
{
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
        if (onTick) {
            onTick();
        }
    });
}

void QtTimer::timerChanged()
{
    m_timer.setInterval(interval());
    if (isEnabled() && interval() > 0) {
        if (!m_timer.isActive()) {
            m_timer.start();
        }
    } else {
        m_timer.stop();
    }
}

} // namespace tollen::ui::qt
