#include "core/RunFolder.h"

#include "core/AtomicFileWriter.h"
#include "core/Environment.h"
#include "core/PathText.h"
#include "core/SystemFiles.h"

#include <cerrno>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <system_error>

namespace tollen {
namespace {

std::optional<std::filesystem::path> &madeFolder()
{
    static std::optional<std::filesystem::path> folder;
    return folder;
}

constexpr std::string_view kRunFolderPrefix = "tollen-";
constexpr std::size_t kRunFolderNameSize = kRunFolderPrefix.size() + 12;

/// Removes what earlier runs of this user left half written in their folders when they were
/// killed; their folders and finished files stay, since a run may still be at work in its own.
void cleanEarlierRunFolders(const std::filesystem::path &temporary)
{
    std::error_code error;
    for (std::filesystem::directory_iterator entry(temporary, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = utf8FromPath(entry->path().filename());
        if (name.size() == kRunFolderNameSize && name.starts_with(kRunFolderPrefix) &&
            isOwnFolder(entry->path())) {
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
    // A fresh random name nobody else holds, made readable by the user alone.
    static std::mt19937_64 generator{std::random_device{}()};
    const std::filesystem::path parent = temporaryDirectory();
    std::filesystem::path folder;
    errno = EEXIST;
    for (int attempt = 0; attempt < 100 && errno == EEXIST; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "%s%012llx", kRunFolderPrefix.data(),
                      static_cast<unsigned long long>(generator() & 0xFFFFFFFFFFFFULL));
        errno = 0;
        if (makePrivateFolder(parent / name)) {
            folder = parent / name;
        }
    }
    if (folder.empty()) {
        const int error = errno;
        return {{},
                Error{error, "Cannot make a temporary folder under " + utf8FromPath(parent) + ": " +
                                 systemErrorText(error)}};
    }
    made = folder;
    cleanEarlierRunFolders(parent);
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
