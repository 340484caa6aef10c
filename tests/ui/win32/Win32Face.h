#pragma once
// What the Win32 tests do as a user at the screen would.

#include "ui/win32/Win32Frame.h"
#include "ui/win32/Win32Services.h"
#include "ui/win32/Win32Window.h"

#include <functional>
#include <string>

namespace tollen::controls::testing {

/// Dispatches the waiting messages, for about `milliseconds` (0: one pass).
void pumpMessages(int milliseconds);
/// A left click at a point of the window's inner area.
void clickAt(HWND window, int x, int y);
/// Waits (in the modal loop that is about to run) for a dialog titled `title` to open and hands
/// it to `answer`.
void whenDialogOpens(const std::string &title, std::function<void(HWND)> answer);

} // namespace tollen::controls::testing
