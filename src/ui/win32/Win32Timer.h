#pragma once

#include "controls/Timer.h"
#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

/// A timer on SetTimer, ticking through a message-only window of its own.
class Win32Timer : public controls::Timer, public MessageTarget
{
public:
    Win32Timer();
    ~Win32Timer() override;

    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

protected:
    void timerChanged() override;

private:
    HWND m_window;
};

} // namespace tollen::ui::win32
