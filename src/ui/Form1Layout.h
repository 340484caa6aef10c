#pragma once
// The main window's layout rules: stretching frames and lists to the window's size, and sizing
// the columns of a list view to their contents.

#include "ui/Form1Controls.h"

#include <optional>

namespace tollen::ui {

/// The smallest inner size the window keeps, in pixels.
inline constexpr int kForm1MinimumWidth = 514;
inline constexpr int kForm1MinimumHeight = 500;

/// Lays the window out for its current inner size. Each assignment that a control refuses (a
/// negative size while the window is minimised) is skipped and the next one still runs.
void Form_Resize(Form1Controls &controls);

/// Sizes one column (from 1), or every column when none is given, to its widest entry or
/// heading.
void LV_AutoSizeColumn(controls::ListView &list, std::optional<int> column = std::nullopt);

} // namespace tollen::ui
