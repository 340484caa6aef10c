#include "ui/win32/Win32Dialogs.h"

#include "core/WideText.h"
#include "ui/win32/SystemHeaders.h"
#include "ui/win32/Win32InputBox.h"

#include <algorithm>
#include <vector>

namespace tollen::ui::win32 {
namespace {

/// Room for a path longer than MAX_PATH.
constexpr std::size_t kPathRoom = 32768;

using FileDialogCall = BOOL(WINAPI *)(LPOPENFILENAMEW);

controls::FileDialogResult showFileDialog(const controls::FileDialogRequest &request,
                                          FileDialogCall call)
{
    const std::wstring filter = toDialogFilter(request.filter);
    const std::wstring title = wideFromUtf8(request.title);
    std::string extension = request.defaultExtension;
    if (!extension.empty() && extension.front() == '.') {
        extension.erase(0, 1);
    }
    const std::wstring defaultExtension = wideFromUtf8(extension);
    std::vector<wchar_t> path(kPathRoom, L'\0');
    const std::wstring initial = wideFromUtf8(request.initialName);
    std::copy_n(initial.begin(), std::min(initial.size(), kPathRoom - 1), path.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = title.empty() ? nullptr : title.c_str();
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    dialog.Flags = request.flags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!call(&dialog)) {
        // Cancelled, or the dialog failed (CommDlgExtendedError tells which): either way no file
        // was chosen, which the program knows as the cancel error.
        return controls::FileDialogResult{controls::kCancelError, {}};
    }
    return controls::FileDialogResult{0, utf8FromWide(path.data())};
}

} // namespace

int Win32Dialogs::messageBox(const std::string &text, controls::MessageButtons buttons,
                             const std::optional<std::string> &title)
{
    // The contract's button codes are the message box's own (MB_OK, MB_YESNO, MB_ICONSTOP).
    const int answer =
        MessageBoxW(GetActiveWindow(), wideFromUtf8(text).c_str(),
                    wideFromUtf8(title.value_or(controls::kApplicationTitle)).c_str(),
                    static_cast<UINT>(buttons) | MB_SETFOREGROUND);
    if (buttons == controls::MessageButtons::YesNo) {
        return answer == IDYES ? controls::kAnswerYes : controls::kAnswerNo;
    }
    return controls::kAnswerOk;
}

std::string Win32Dialogs::inputBox(const std::string &prompt, const std::string &title,
                                   const std::string &defaultText)
{
    return showInputBox(GetActiveWindow(), prompt,
                        title.empty() ? controls::kApplicationTitle : title, defaultText);
}

controls::FileDialogResult Win32Dialogs::showOpen(const controls::FileDialogRequest &request)
{
    return showFileDialog(request, GetOpenFileNameW);
}

controls::FileDialogResult Win32Dialogs::showSave(const controls::FileDialogRequest &request)
{
    return showFileDialog(request, GetSaveFileNameW);
}

std::wstring toDialogFilter(const std::string &filter)
{
    std::wstring joined;
    for (const auto &[description, pattern] : controls::parseFilter(filter)) {
        joined += wideFromUtf8(description);
        joined += L'\0';
        joined += wideFromUtf8(pattern);
        joined += L'\0';
    }
    if (!joined.empty()) {
        joined += L'\0';
    }
    return joined;
}

} // namespace tollen::ui::win32
