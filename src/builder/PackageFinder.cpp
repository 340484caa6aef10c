#include "builder/PackageFinder.h"

#include "builder/DatabaseRoot.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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
    void addFile(const fs::path &path, std::string remotePath, PackageKind kind);

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
        } else if (const auto kind = packageKindOf(name)) {
            addFile(entry.path(), std::move(remotePath), *kind);
        }
    }
    return error;
}

void Finder::addFile(const fs::path &path, std::string remotePath, PackageKind kind)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0) {
        m_list.unreadable.push_back(
            {std::move(remotePath), SkipReason::Unreadable, std::strerror(errno)});
        return;
    }
    if (!S_ISREG(status.st_mode)) {
        return;
    }
    const auto nanoseconds = [](const timespec &time) {
        return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
    };
    m_list.packages.push_back(
        {std::move(remotePath), path, kind,
         FileStamp{static_cast<std::uint64_t>(status.st_size), nanoseconds(status.st_mtim),
                   nanoseconds(status.st_ctim), static_cast<std::uint64_t>(status.st_ino)}});
}

} // namespace

Error findPackages(const fs::path &root, PackageList &list)
{
    list = {};
    Finder finder(list);
    if (const std::error_code error = finder.list(root, {})) {
        return Error{1, "cannot read " + root.string() + ": " + error.message()};
    }
    std::sort(list.packages.begin(), list.packages.end(),
              [](const PackageFile &left, const PackageFile &right) {
                  return left.remotePath < right.remotePath;
              });
    return {};
}

} // namespace tollen::builder
