#pragma once

#include "ui/win32/SystemHeaders.h"

#include <string>

namespace tollen::ui::win32 {

/// A small modal dialog with a prompt, a text box holding `defaultText`, OK and Cancel. Returns
/// the typed text, or "" when cancelled.
std::string showInputBox(HWND owner, const std::string &prompt, const std::string &title,
                         const std::string &defaultText);

} // namespace tollen::ui::win32
