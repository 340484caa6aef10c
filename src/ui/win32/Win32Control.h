#pragma once
// The bridge between a control of the contract and the window that draws it: the control keeps
// the state, the window shows it. Every window this face makes is tied to a MessageTarget, to
// which its parent passes the notifications the window sends (WM_COMMAND, WM_NOTIFY) and which
// sees the characters typed into it.

#include "controls/Control.h"
#include "ui/win32/SystemHeaders.h"
#include "ui/win32/Win32Placement.h"

#include <string>

namespace tollen::ui::win32 {

class MessageTarget
{
public:
    virtual ~MessageTarget() = default;

    /// A notification the window sent its parent through WM_COMMAND.
    virtual void command(WORD /*code*/) {}
    /// A notification the window sent its parent through WM_NOTIFY.
    virtual LRESULT notify(NMHDR & /*header*/) { return 0; }
    /// A message to a window of this face's own class; false leaves it to the default handling.
    virtual bool message(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                         LRESULT & /*result*/)
    {
        return false;
    }
    /// A character typed into the window; true when it is taken and the window should not see it.
    virtual bool character(wchar_t /*code*/) { return false; }
};

/// The class of the windows this face makes itself (top-level windows, frames, timers).
inline constexpr const wchar_t *kPanelClass = L"TollenPanel";

/// Registers the panel class and the common controls once per process.
void initialiseWindowClasses();

/// A child window of `placement.parent` in the standard font, tied to `target`.
HWND createChild(const Placement &placement, const wchar_t *windowClass, DWORD style,
                 DWORD extendedStyle, MessageTarget &target);
/// A window of the panel class tied to `target` (top-level when `parent` is null).
HWND createPanel(HWND parent, DWORD style, DWORD extendedStyle, MessageTarget &target);
/// Unties a window from its target and destroys it.
void destroyTied(HWND window);
/// Passes the characters typed into `window` to its target first, and the face's own posted
/// messages (kShowPending) to its target's message().
void watchMessages(HWND window);

/// Posted to a control to show the changes it gathered since it last showed them: appending
/// rows one message each would redraw the control for each row.
inline constexpr UINT kShowPending = WM_APP + 0x100;

/// The font the controls are drawn in: the system's message font at 8 points.
HFONT standardFont();
std::string windowText(HWND window);
/// Widens the window, keeping its left edge, until its text in its font fits with `margin`
/// pixels to spare; a window already wide enough stays as it is.
void widenToText(HWND window, int margin);
void setWindowText(HWND window, const std::string &text);

/// `Contract` is the control class of the contract. The window is a child of the placement's
/// parent and is destroyed with the control.
template <typename Contract> class HwndControl : public Contract, public MessageTarget
{
public:
    HwndControl(const Placement &placement, const wchar_t *windowClass, DWORD style,
                DWORD extendedStyle = 0)
        : m_scale(placement.scale),
          m_window(createChild(placement, windowClass, style, extendedStyle, *this))
    {
    }
    ~HwndControl() override { destroyTied(m_window); }

    HWND hwnd() const { return m_window; }
    /// The units of this control's geometry per pixel.
    controls::PixelScale scale() const { return m_scale; }
    void setFont(HFONT font)
    {
        SendMessageW(m_window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }

protected:
    void geometryChanged() override
    {
        const RECT pixels = toPixels(this->geometry(), m_scale);
        MoveWindow(m_window, pixels.left, pixels.top, pixels.right - pixels.left,
                   pixels.bottom - pixels.top, TRUE);
    }
    void visibilityChanged() override
    {
        ShowWindow(m_window, this->isVisible() ? SW_SHOWNA : SW_HIDE);
    }

private:
    controls::PixelScale m_scale;
    HWND m_window;
};

/// A control whose caption the window shows as its text.
template <typename Contract> class CaptionedHwnd : public HwndControl<Contract>
{
public:
    using HwndControl<Contract>::HwndControl;

    /// Lets the window grow wider than its geometry to show all of its caption (the screen's
    /// font may be wider than the one the window was designed for); `margin` pixels are kept
    /// for what the control draws beside its text, such as a check box's box.
    void setFitsText(bool fits, int margin = 0)
    {
        m_fitsText = fits;
        m_margin = margin;
        geometryChanged();
    }

protected:
    void captionChanged() override
    {
        setWindowText(this->hwnd(), this->caption());
        if (m_fitsText) {
            geometryChanged();
        }
    }
    void geometryChanged() override
    {
        HwndControl<Contract>::geometryChanged();
        if (m_fitsText) {
            widenToText(this->hwnd(), m_margin);
        }
    }

private:
    bool m_fitsText = false;
    int m_margin = 0;
};

} // namespace tollen::ui::win32
