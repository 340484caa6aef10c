#include "ui/win32/Win32OptionGroup.h"

namespace tollen::ui::win32 {

Win32OptionButton::Win32OptionButton(const Placement &placement, Win32OptionGroup &group, int index)
    : CaptionedHwnd(placement, L"BUTTON", BS_RADIOBUTTON | WS_TABSTOP), m_group(group),
      m_index(index)
{
}

void Win32OptionButton::command(WORD code)
{
    if (code == BN_CLICKED) {
        m_group.userClicked(m_index);
    }
}

void Win32OptionGroup::userClicked(int index)
{
    if (index == selectedIndex()) {
        return;
    }
    select(index);
    if (onClick) {
        onClick(index);
    }
}

void Win32OptionGroup::selectionChanged()
{
    for (int index = 0; index < count(); ++index) {
        SendMessageW(radioButton(index), BM_SETCHECK,
                     index == selectedIndex() ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

std::unique_ptr<controls::CaptionedControl> Win32OptionGroup::makeButton()
{
    return std::make_unique<Win32OptionButton>(m_placement, *this, count());
}

} // namespace tollen::ui::win32
