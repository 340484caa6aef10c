#include "ui/win32/Win32Services.h"

#include "core/WideText.h"
#include "ui/win32/SystemHeaders.h"

#include <cstring>

namespace tollen::ui::win32 {
namespace {

/// Another program may hold the clipboard for a moment.
bool openClipboard()
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(nullptr)) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

} // namespace

void Win32Clipboard::setText(const std::string &text)
{
    const std::wstring wide = wideFromUtf8(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) {
        return;
    }
    if (void *target = GlobalLock(memory)) {
        std::memcpy(target, wide.c_str(), bytes);
        GlobalUnlock(memory);
    }
    if (!openClipboard()) {
        GlobalFree(memory);
        return;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
    }
    CloseClipboard();
}

std::string Win32Clipboard::text() const
{
    if (!openClipboard()) {
        return {};
    }
    std::string text;
    if (HANDLE memory = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *source = static_cast<const wchar_t *>(GlobalLock(memory))) {
            // Never past the block, should the text lack its terminating zero.
            const std::size_t room = GlobalSize(memory) / sizeof(wchar_t);
            std::size_t length = 0;
            while (length < room && source[length] != L'\0') {
                ++length;
            }
            text = utf8FromWide(std::wstring_view(source, length));
            GlobalUnlock(memory);
        }
    }
    CloseClipboard();
    return text;
}

bool Win32Launcher::open(const std::string &target)
{
    if (target.empty()) {
        return false;
    }
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", wideFromUtf8(target).c_str(), nullptr,
                                           nullptr, SW_SHOWNORMAL);
    // Values above 32 report success; the lower ones are error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void Win32EventLoop::yield()
{
    const auto now = std::chrono::steady_clock::now();
    if (m_lastPass && now - *m_lastPass < kMinimumGap) {
        return;
    }
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The main loop must still see that the program is ending.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    m_lastPass = std::chrono::steady_clock::now();
}

} // namespace tollen::ui::win32
