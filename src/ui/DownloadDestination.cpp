#include "ui/DownloadDestination.h"

#include "core/PathText.h"
#include "core/SystemFiles.h"

#include <cerrno>
#include <system_error>

namespace tollen::ui {

namespace fs = std::filesystem;

Error destinationProblem(const fs::path &file)
{
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    std::error_code ignored;
    const fs::file_status status = fs::status(file, ignored);
    int code = 0;
    if (fs::is_directory(status)) {
        code = EISDIR;
    } else if (!fs::is_directory(file.has_parent_path() ? file.parent_path() : fs::path("."),
                                 ignored)) {
        code = ENOENT;
    } else if (fs::exists(status) &&
               ((status.permissions() & kAnyWrite) == fs::perms::none || !canReplaceFile(file))) {
        code = EACCES;
    }
    if (code == 0) {
        return {};
    }
    return Error{code, "Cannot write " + utf8FromPath(file) + ": " + systemErrorText(code)};
}

} // namespace tollen::ui
