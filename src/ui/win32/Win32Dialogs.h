#pragma once

#include "controls/Dialogs.h"

namespace tollen::ui::win32 {

/// The system's own modal dialogs: MessageBoxW, the common open and save dialogs, and an input
/// box of this face's own. Each is owned by the window that is active when it opens.
class Win32Dialogs : public controls::Dialogs
{
public:
    int messageBox(const std::string &text, controls::MessageButtons buttons,
                   const std::optional<std::string> &title = std::nullopt) override;
    std::string inputBox(const std::string &prompt, const std::string &title,
                         const std::string &defaultText) override;
    controls::FileDialogResult showOpen(const controls::FileDialogRequest &request) override;
    controls::FileDialogResult showSave(const controls::FileDialogRequest &request) override;
};

/// The filter of the common file dialogs: "A|*.a|B|*.b" becomes "A\0*.a\0B\0*.b\0\0".
std::wstring toDialogFilter(const std::string &filter);

} // namespace tollen::ui::win32
