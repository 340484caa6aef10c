#pragma once

#include "ui/win32/SystemHeaders.h"

namespace tollen::ui::win32 {

/// A font of the given size in points; `face` empty keeps the standard font's face. The fonts
/// live as long as the program.
HFONT makeFont(double points, bool bold, const wchar_t *face = L"");

} // namespace tollen::ui::win32
