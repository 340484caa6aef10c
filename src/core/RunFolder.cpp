#include "core/RunFolder.h"

#include "core/AtomicFileWriter.h"
#include "core/Environment.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tollen {
namespace {

std::optional<std::filesystem::path> &madeFolder()
{
    static std::optional<std::filesystem::path> folder;
    return folder;
}

constexpr std::string_view kRunFolderPrefix = "tollen-";
constexpr std::size_t kRunFolderNameSize = kRunFolderPrefix.size() + 6;

/// Removes what earlier runs of this user left half written in their folders when they were
/// killed; their folders and finished files stay, since a run may still be at work in its own.
void cleanEarlierRunFolders(const std::filesystem::path &temporary)
{
    std::error_code error;
    for (std::filesystem::directory_iterator entry(temporary, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        struct stat folder = {};
        if (name.size() == kRunFolderNameSize && name.starts_with(kRunFolderPrefix) &&
            ::lstat(entry->path().c_str(), &folder) == 0 && S_ISDIR(folder.st_mode) &&
            folder.st_uid == ::geteuid()) {
            removeStaleTemporaries(entry->path());
        }
    }
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
    cleanEarlierRunFolders(temporaryDirectory());
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
