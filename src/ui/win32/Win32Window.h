#pragma once

#include "controls/Window.h"
#include "ui/win32/Win32Control.h"

namespace tollen::ui::win32 {

/// A top-level window: its inner (client) area holds the frames, placed in pixels; its twips
/// per pixel come from the screen's dots per inch. Closing it, by the user or by close(), hides
/// it and raises onClose; the program decides what ends.
class Win32Window : public controls::Window, public MessageTarget
{
public:
    explicit Win32Window(DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                         DWORD extendedStyle = 0);
    ~Win32Window() override;
    Win32Window(const Win32Window &) = delete;
    Win32Window &operator=(const Win32Window &) = delete;

    HWND hwnd() const { return m_window; }
    controls::PixelScale twipsPerPixel() const { return m_twipsPerPixel; }
    /// Sets the inner area in pixels (the designed size before the window is shown).
    void setInnerSize(int width, int height);
    /// Places the window in the middle of the screen's work area.
    void centre();

    std::string caption() const override;
    void setCaption(const std::string &caption) override;
    bool isEnabled() const override;
    void setEnabled(bool enabled) override;
    bool isVisible() const override;
    void show() override;
    void close() override;

    /// A minimised window has an empty inner area.
    int innerWidth() const override;
    int innerHeight() const override;
    bool setOuterWidth(double twips) override;
    bool setOuterHeight(double twips) override;
    double twipsPerPixelX() const override { return m_twipsPerPixel.x; }
    double twipsPerPixelY() const override { return m_twipsPerPixel.y; }

    bool message(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result) override;

    /// For the program: runs after onClose, whatever the core put there.
    std::function<void()> afterClose;

private:
    bool setOuterSize(double widthTwips, double heightTwips);

    HWND m_window;
    controls::PixelScale m_twipsPerPixel;
};

} // namespace tollen::ui::win32
