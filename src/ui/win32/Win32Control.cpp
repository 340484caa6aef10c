#include "ui/win32/Win32Control.h"

#include "core/WideText.h"

#include <mutex>

namespace tollen::ui::win32 {
namespace {

MessageTarget *targetOf(HWND window)
{
    return window ? reinterpret_cast<MessageTarget *>(GetWindowLongPtrW(window, GWLP_USERDATA))
                  : nullptr;
}

void tie(HWND window, MessageTarget *target)
{
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(target));
}

/// The panel class's procedure: notifications go to the control that sent them, everything else
/// to the panel's own target first.
LRESULT CALLBACK panelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto *creation = reinterpret_cast<const CREATESTRUCTW *>(lParam);
        tie(window, static_cast<MessageTarget *>(creation->lpCreateParams));
    }
    if (message == WM_COMMAND && lParam != 0) {
        if (MessageTarget *sender = targetOf(reinterpret_cast<HWND>(lParam))) {
            sender->command(HIWORD(wParam));
            return 0;
        }
    }
    if (message == WM_NOTIFY) {
        auto *header = reinterpret_cast<NMHDR *>(lParam);
        if (MessageTarget *sender = targetOf(header->hwndFrom)) {
            return sender->notify(*header);
        }
    }
    if (MessageTarget *own = targetOf(window)) {
        LRESULT result = 0;
        if (own->message(message, wParam, lParam, result)) {
            return result;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK messageWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              UINT_PTR /*id*/, DWORD_PTR /*data*/)
{
    MessageTarget *target = targetOf(window);
    if (message == WM_CHAR && target && target->character(static_cast<wchar_t>(wParam))) {
        return 0;
    }
    if (message == kShowPending) {
        LRESULT result = 0;
        if (target) {
            target->message(message, wParam, lParam, result);
        }
        return result;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, messageWatch, 0);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

HFONT makeStandardFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
    } else {
        lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
    }
    // The window was designed for an 8-point face.
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(8, screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96, 72);
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return CreateFontIndirectW(&font);
}

} // namespace

void initialiseWindowClasses()
{
    static std::once_flag once;
    std::call_once(once, [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES |
                                                           ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW panel{};
        panel.cbSize = sizeof panel;
        panel.lpfnWndProc = panelProcedure;
        panel.hInstance = GetModuleHandleW(nullptr);
        panel.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        panel.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        panel.lpszClassName = kPanelClass;
        // The program's icon when the executable carries one (resource 1).
        panel.hIcon = LoadIconW(panel.hInstance, MAKEINTRESOURCEW(1));
        RegisterClassExW(&panel);
    });
}

HWND createChild(const Placement &placement, const wchar_t *windowClass, DWORD style,
                 DWORD extendedStyle, MessageTarget &target)
{
    initialiseWindowClasses();
    HWND window = CreateWindowExW(extendedStyle, windowClass, L"",
                                  style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                  placement.parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window) {
        tie(window, &target);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(standardFont()), FALSE);
    }
    return window;
}

void widenToText(HWND window, int margin)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    HDC context = GetDC(window);
    const HGDIOBJ previous =
        SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(context, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(context, previous);
    ReleaseDC(window, context);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    const int wanted = size.cx + margin;
    if (wanted > bounds.right - bounds.left) {
        SetWindowPos(window, nullptr, 0, 0, wanted, bounds.bottom - bounds.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND createPanel(HWND parent, DWORD style, DWORD extendedStyle, MessageTarget &target)
{
    initialiseWindowClasses();
    HWND window =
        CreateWindowExW(extendedStyle, kPanelClass, L"", style, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                        parent, nullptr, GetModuleHandleW(nullptr), &target);
    if (window) {
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(standardFont()), FALSE);
    }
    return window;
}

void destroyTied(HWND window)
{
    if (window && IsWindow(window)) {
        tie(window, nullptr);
        DestroyWindow(window);
    }
}

void watchMessages(HWND window)
{
    SetWindowSubclass(window, messageWatch, 0, 0);
}

HFONT standardFont()
{
    static const HFONT font = makeStandardFont();
    return font;
}

std::string windowText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return utf8FromWide(text);
}

void setWindowText(HWND window, const std::string &text)
{
    SetWindowTextW(window, wideFromUtf8(text).c_str());
}

} // namespace tollen::ui::win32
