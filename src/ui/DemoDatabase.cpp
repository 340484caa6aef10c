#include "ui/DemoDatabase.h"

#include "core/PathText.h"
#include "core/Text.h"
#include "database/IndexTree.h"

#include <system_error>

namespace tollen::ui {
namespace {

namespace fs = std::filesystem;

bool holdsDatabase(const fs::path &folder)
{
    std::error_code error;
    return !folder.empty() && fs::is_directory(folder / database::kIndexTreeName, error);
}

} // namespace

fs::path findDemoDatabase(const fs::path &executableFolder)
{
    const fs::path candidates[] = {
        executableFolder.empty() ? fs::path() : executableFolder / TOLLEN_DEMO_DB_FROM_BINDIR,
        TOLLEN_BUILD_DEMO_DB,
    };
    for (const fs::path &candidate : candidates) {
        if (holdsDatabase(candidate)) {
            std::error_code error;
            const fs::path normal = fs::weakly_canonical(candidate, error);
            return error ? candidate.lexically_normal() : normal;
        }
    }
    return {};
}

bool runsInstalled(const fs::path &executableFolder)
{
    return !executableFolder.empty() &&
           holdsDatabase(executableFolder / TOLLEN_DEMO_DB_FROM_BINDIR);
}

std::string fileUrl(const fs::path &folder)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(folder, error);
    // "/home/..." on Linux; "C:/..." on Windows, which a file URL writes "file:///C:/...".
    std::string text = genericUtf8FromPath(error ? folder : absolute);
    if (!text.starts_with('/')) {
        text.insert(0, "/");
    }
    return "file://" + percentEncode(text, "/:");
}

std::string demoDatabaseHost(const fs::path &executableFolder)
{
    const fs::path database = findDemoDatabase(executableFolder);
    return database.empty() ? std::string() : fileUrl(database);
}

} // namespace tollen::ui
