#include "core/RunFolder.h"

#include "core/Environment.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <system_error>

namespace tollen {
namespace {

std::optional<std::filesystem::path> &madeFolder()
{
    static std::optional<std::filesystem::path> folder;
    return folder;
}

} // namespace

RunFolder runFolder()
{
    auto &made = madeFolder();
    if (made) {
        return {*made, {}};
    }
    std::string pattern = (temporaryDirectory() / "tollen-XXXXXX").string();
    // mkdtemp creates the folder with mode 0700 under a name nobody else holds.
    if (::mkdtemp(pattern.data()) == nullptr) {
        const int error = errno;
        return {{},
                Error{error, "Cannot make a temporary folder under " +
                                 temporaryDirectory().string() + ": " + std::strerror(error)}};
    }
    made = pattern;
    return {*made, {}};
}

void removeRunFolderIfEmpty()
{
    auto &made = madeFolder();
    if (!made) {
        return;
    }
    std::error_code ignored;
    if (std::filesystem::remove(*made, ignored)) {
        made.reset();
    }
}

} // namespace tollen
