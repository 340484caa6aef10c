#pragma once

#include "controls/Dialogs.h"

#include <QStringList>

namespace tollen::ui::qt {

/// Message boxes, the input box and the file dialogs as Qt's modal dialogs, over the active
/// window. Texts are shown as plain text, never as markup.
class QtDialogs : public controls::Dialogs
{
public:
    int messageBox(const std::string &text, controls::MessageButtons buttons,
                   const std::optional<std::string> &title) override;
    std::string inputBox(const std::string &prompt, const std::string &title,
                         const std::string &defaultText) override;
    controls::FileDialogResult showOpen(const controls::FileDialogRequest &request) override;
    controls::FileDialogResult showSave(const controls::FileDialogRequest &request) override;
};

/// The file dialog's filter "description|pattern|..." as Qt's name filters: the description's
/// words with the entry's patterns in brackets (a bracket the description already ends with is
/// replaced); "*.*" means every file, as it does on Windows.
QStringList toNameFilters(const std::string &filter);

} // namespace tollen::ui::qt
