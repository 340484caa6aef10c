#include "builder/PackageFinder.h"

#include "builder/DatabaseRoot.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>

namespace tollen::builder {
namespace fs = std::filesystem;
namespace {

bool isBuildersOwn(const std::string &name)
{
    return name == database::kIndexTreeName || name.starts_with(kBuilderFilePrefix);
}

class Finder
{
public:
    explicit Finder(PackageList &list) : m_list(list) {}

    /// Lists `folder`, whose remote path is `remoteFolder` ("" for the root).
    std::error_code list(const fs::path &folder, const std::string &remoteFolder);

private:
    /// Adds the file at `path` when it is a plain file, and to the packages when it is one.
    void addFile(const fs::path &path, std::string remotePath, std::optional<PackageKind> kind);

    PackageList &m_list;
};

std::error_code Finder::list(const fs::path &folder, const std::string &remoteFolder)
{
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) {
        return error;
    }
    for (const fs::directory_iterator end; entries != end; entries.increment(error)) {
        const fs::directory_entry &entry = *entries;
        const std::string name = entry.path().filename().string();
        if (remoteFolder.empty() && isBuildersOwn(name)) {
            continue;
        }
        std::string remotePath = remoteFolder + "/" + name;
        std::error_code typeError;
        if (entry.is_directory(typeError) && !entry.is_symlink(typeError)) {
            if (const std::error_code listError = list(entry.path(), remotePath)) {
                m_list.unreadable.push_back(
                    {std::move(remotePath), SkipReason::Unreadable, listError.message()});
            }
        } else {
            addFile(entry.path(), std::move(remotePath), packageKindOf(name));
        }
    }
    return error;
}

void Finder::addFile(const fs::path &path, std::string remotePath, std::optional<PackageKind> kind)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0) {
        // A link that leads nowhere is no file; a package that cannot be looked at is reported.
        if (kind) {
            m_list.unreadable.push_back(
                {std::move(remotePath), SkipReason::Unreadable, std::strerror(errno)});
        }
        return;
    }
    if (!S_ISREG(status.st_mode)) {
        return;
    }
    const auto nanoseconds = [](const timespec &time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    const FileStamp stamp{static_cast<std::uint64_t>(status.st_size), nanoseconds(status.st_mtim),
                          nanoseconds(status.st_ctim), static_cast<std::uint64_t>(status.st_ino)};
    if (kind) {
        m_list.packages.push_back({remotePath, path, *kind, stamp});
    }
    m_list.files.push_back({std::move(remotePath), path, stamp});
}

} // namespace

Error findPackages(const fs::path &root, PackageList &list)
{
    list = {};
    Finder finder(list);
    if (const std::error_code error = finder.list(root, {})) {
        return Error{1, "cannot read " + root.string() + ": " + error.message()};
    }
    const auto byRemotePath = [](const auto &left, const auto &right) {
        return left.remotePath < right.remotePath;
    };
    std::sort(list.packages.begin(), list.packages.end(), byRemotePath);
    std::sort(list.files.begin(), list.files.end(), byRemotePath);
    return {};
}

} // namespace tollen::builder
