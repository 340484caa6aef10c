#pragma once
// Modal dialogs: message boxes with their answers, the input box and the file dialogs with
// their requests.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tollen::controls {

enum class MessageButtons : int {
    Ok = 0,
    YesNo = 4,
    OkStop = 16,
};

/// Answers of a message box.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

/// The error number a cancelled file dialog reports.
inline constexpr int kCancelError = 32755;

/// Bits of the file dialogs' flags.
inline constexpr std::uint32_t kOverwritePrompt = 0x2;
inline constexpr std::uint32_t kHideReadOnly = 0x4;
inline constexpr std::uint32_t kNoChangeDirectory = 0x8;
inline constexpr std::uint32_t kPathMustExist = 0x800;

struct FileDialogRequest
{
    std::string title;
    /// Pairs of description and pattern joined by "|".
    std::string filter;
    std::uint32_t flags = 0;
    std::string initialName;
    std::string defaultExtension;
    bool cancelError = true;
};

struct FileDialogResult
{
    /// 0 when a file was chosen, kCancelError when the dialog was cancelled.
    int error = 0;
    std::string path;

    explicit operator bool() const { return error == 0; }
};

/// The application title every box without a title of its own shows.
inline constexpr const char *kApplicationTitle = "Tollen";

/// Modal dialogs: each returns only when dismissed.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    /// Returns kAnswerOk, or kAnswerYes / kAnswerNo for MessageButtons::YesNo. No title shows
    /// the application title.
    virtual int messageBox(const std::string &text, MessageButtons buttons,
                           const std::optional<std::string> &title = std::nullopt) = 0;
    /// The typed text, or "" when cancelled (the two are not told apart).
    virtual std::string inputBox(const std::string &prompt, const std::string &title,
                                 const std::string &defaultText) = 0;
    virtual FileDialogResult showOpen(const FileDialogRequest &request) = 0;
    virtual FileDialogResult showSave(const FileDialogRequest &request) = 0;
};

/// The filter entries of a file dialog: "A|*.a|B|*.b" gives {"A","*.a"}, {"B","*.b"}.
std::vector<std::pair<std::string, std::string>> parseFilter(const std::string &filter);

} // namespace tollen::controls
