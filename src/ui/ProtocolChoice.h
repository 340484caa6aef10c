#pragma once
// The protocol choice Option1 of the network settings: its first button chooses HTTP, its
// second FTP. Every routine that follows the choice asks it here.

#include "controls/OptionGroup.h"

namespace tollen::ui {

inline constexpr int kHttpOption = 0;
inline constexpr int kFtpOption = 1;

/// Whether Option1 chooses FTP.
inline bool ftpChosen(const controls::OptionGroup &Option1)
{
    return Option1.selectedIndex() == kFtpOption;
}

} // namespace tollen::ui
