#pragma once
// The main window as designed: caption, the controls' captions and their initial geometry.

#include "ui/Form1Controls.h"

namespace tollen::ui {

inline constexpr const char *kForm1Caption = "Tollen v1.0";
/// The designed inner area of the window, in twips.
inline constexpr double kForm1DesignWidth = 7755;
inline constexpr double kForm1DesignHeight = 6675;

/// Gives every control its designed caption and geometry: frames in pixels, everything inside a
/// frame in twips.
void applyForm1Design(Form1Controls &controls);

} // namespace tollen::ui
