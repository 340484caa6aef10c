#include "core/RunFolder.h"

#include "core/Environment.h"
#include "core/PathText.h"
#include "core/SystemFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace tollen {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kRunFolderPrefix = "tollen-";
constexpr std::size_t kRunFolderDigits = 12;
/// The file a run keeps locked in its folder for as long as it lives. Downloads, the only
/// files named by a server, end in an archive's extension and never take this name.
constexpr std::string_view kInUseMarkName = "run.lock";

struct ThisRun
{
    std::optional<fs::path> folder;
    /// The open mark that tells other runs the folder is in use.
    std::FILE *mark = nullptr;
    /// The names of the files handed to other programs.
    std::set<fs::path> kept;
};

ThisRun &thisRun()
{
    static ThisRun run;
    return run;
}

bool isRunFolderName(const std::string &name)
{
    return name.size() == kRunFolderPrefix.size() + kRunFolderDigits &&
           name.starts_with(kRunFolderPrefix) &&
           std::all_of(name.begin() + kRunFolderPrefix.size(), name.end(), [](char digit) {
               return (digit >= '0' && digit <= '9') || (digit >= 'a' && digit <= 'f');
           });
}

bool isPresent(const fs::path &path)
{
    std::error_code error;
    return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

/// Removes the folder of an earlier run unless that run is still at work, holding its mark.
/// The mark is the first file a run makes in its folder: an empty folder may be one a run has
/// just made, and goes only while it is empty (that run then makes another); a folder with
/// other files but no mark is one a run left without it (an older program's, or a removal
/// that a file held open cut short).
void removeIfOver(const fs::path &folder)
{
    std::error_code ignored;
    if (fs::is_empty(folder, ignored)) {
        fs::remove(folder, ignored);
        return;
    }
    const fs::path mark = folder / kInUseMarkName;
    if (isPresent(mark)) {
        removeUnusedFile(mark);
        if (isPresent(mark)) {
            return;
        }
    }
    fs::remove_all(folder, ignored);
}

void removeEarlierRunFolders(const fs::path &temporary, const fs::path &own)
{
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::directory_iterator entry(temporary, error), end; !error && entry != end;
         entry.increment(error)) {
        if (isRunFolderName(utf8FromPath(entry->path().filename())) && entry->path() != own &&
            isOwnFolder(entry->path())) {
            folders.push_back(entry->path());
        }
    }
    for (const fs::path &folder : folders) {
        removeIfOver(folder);
    }
}

/// Makes a folder under `parent` with its mark in place; the error number when none could be
/// made.
int makeMarkedFolder(const fs::path &parent, ThisRun &run)
{
    // A fresh random name nobody else holds, made readable by the user alone.
    static std::mt19937_64 generator{std::random_device{}()};
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        char name[32];
        std::snprintf(name, sizeof name, "%s%012llx", kRunFolderPrefix.data(),
                      static_cast<unsigned long long>(generator() & 0xFFFFFFFFFFFFULL));
        const fs::path folder = parent / name;
        errno = 0;
        if (!makePrivateFolder(folder)) {
            error = errno;
            continue;
        }
        run.mark = openNewFile(folder / kInUseMarkName, {}, fs::perms(0600));
        if (run.mark != nullptr) {
            run.folder = folder;
            return 0;
        }
        // Another run starting now took the new folder for one left behind and removed it
        // (ENOENT) or its mark (EEXIST): another name is tried.
        error = errno == ENOENT ? EEXIST : errno;
        std::error_code ignored;
        fs::remove(folder, ignored);
    }
    return error;
}

} // namespace

RunFolder runFolder()
{
    ThisRun &run = thisRun();
    if (run.folder) {
        return {*run.folder, {}};
    }
    const fs::path parent = temporaryDirectory();
    if (const int error = makeMarkedFolder(parent, run)) {
        return {{},
                Error{error, "Cannot make a temporary folder under " + utf8FromPath(parent) + ": " +
                                 systemErrorText(error)}};
    }
    [[maybe_unused]] static const bool removedAtExit = std::atexit(removeRunFolder) == 0;
    removeEarlierRunFolders(parent, *run.folder);
    return {*run.folder, {}};
}

void keepAfterRun(const std::filesystem::path &file)
{
    thisRun().kept.insert(file.filename());
}

void removeRunFolder()
{
    ThisRun &run = thisRun();
    if (!run.folder) {
        return;
    }
    // The mark is closed first: a file held open cannot be removed on Windows.
    std::fclose(run.mark);
    std::vector<fs::path> removed;
    std::error_code error;
    for (fs::directory_iterator entry(*run.folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (!run.kept.contains(entry->path().filename())) {
            removed.push_back(entry->path());
        }
    }
    for (const fs::path &path : removed) {
        fs::remove_all(path, error);
    }
    // Only a folder that kept nothing is empty now.
    fs::remove(*run.folder, error);
    run = ThisRun{};
}

} // namespace tollen
