#pragma once

#include "controls/TextBox.h"
#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

/// A one-line edit control. Typing raises onChange once per change, as the edit reports it.
class Win32TextBox : public HwndControl<controls::TextBox>
{
public:
    explicit Win32TextBox(const Placement &placement);

    void command(WORD code) override;

protected:
    void textChanged() override;
    void maskedChanged() override;

private:
    bool m_rendering = false;
};

} // namespace tollen::ui::win32
