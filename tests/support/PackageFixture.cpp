#include "PackageFixture.h"

#include "TestServers.h"
#include "core/PathText.h"
#include "database/PackageFiles.h"

#include <vector>

namespace tollen::testing {

namespace fs = std::filesystem;

void writePackageList(const fs::path &root, const std::string &packagePath)
{
    const fs::path folder = root / pathFromUtf8(database::packageFolder(packagePath).substr(1));
    std::vector<fs::path> paths;
    if (packagePath.ends_with('/')) {
        for (const auto &entry : fs::recursive_directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                paths.push_back(entry.path());
            }
        }
    } else {
        paths.push_back(root / pathFromUtf8(packagePath.substr(1)));
    }
    std::vector<database::PackageFile> files;
    for (const fs::path &path : paths) {
        database::PackageFile &file = files.emplace_back();
        file.path = genericUtf8FromPath(path.lexically_relative(folder));
        digestFile(path, file.digest);
    }
    writeFile(root / pathFromUtf8(database::fileListPath(packagePath).substr(1)),
              database::writeFileList(std::move(files)));
}

} // namespace tollen::testing
