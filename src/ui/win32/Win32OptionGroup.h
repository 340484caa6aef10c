#pragma once

#include "controls/OptionGroup.h"
#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

class Win32OptionGroup;

/// One option button. The group checks the buttons itself, so that other option buttons in the
/// same frame (of another group) are left alone.
class Win32OptionButton : public CaptionedHwnd<controls::CaptionedControl>
{
public:
    Win32OptionButton(const Placement &placement, Win32OptionGroup &group, int index);

    void command(WORD code) override;

private:
    Win32OptionGroup &m_group;
    int m_index;
};

class Win32OptionGroup : public controls::OptionGroup
{
public:
    explicit Win32OptionGroup(const Placement &placement) : m_placement(placement) {}

    HWND radioButton(int index) { return static_cast<Win32OptionButton &>(button(index)).hwnd(); }
    /// A click on an option: the event is raised only when the selection changes.
    void userClicked(int index);

protected:
    void selectionChanged() override;
    std::unique_ptr<controls::CaptionedControl> makeButton() override;

private:
    Placement m_placement;
};

} // namespace tollen::ui::win32
