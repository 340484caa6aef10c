#pragma once

#include "ui/win32/Win32Window.h"

namespace tollen::ui::win32 {

/// A frame: an etched border with its caption, and the parent of the controls inside it, which
/// are placed in twips.
class Win32Frame : public HwndControl<controls::Frame>
{
public:
    explicit Win32Frame(const Win32Window &window);

    /// Where the controls inside this frame go.
    Placement inside() const { return Placement{hwnd(), m_twipsPerPixel}; }

    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

protected:
    void captionChanged() override;

private:
    void paint();

    controls::PixelScale m_twipsPerPixel;
};

} // namespace tollen::ui::win32
