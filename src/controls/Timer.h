#pragma once

#include "controls/Event.h"

namespace tollen::controls {

class Timer
{
public:
    virtual ~Timer() = default;
    Timer() = default;
    Timer(const Timer &) = delete;
    Timer &operator=(const Timer &) = delete;

    int interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    Event<> onTick;

protected:
    virtual void timerChanged() {}

private:
    int m_interval = 0;
    bool m_enabled = false;
};

} // namespace tollen::controls
