// Fuzzes the database builder's walk through an archive: the input is written to a file in a
// private folder and read as a package, every INF member through the INF reader.

#include "database/PackageIndexer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

/// A folder of this run's own, made once and removed at exit.
const std::filesystem::path &privateFolder()
{
    // Never destroyed, so the exit handler that removes it can still name it.
    static const std::filesystem::path *folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tollen-archive-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return new std::filesystem::path(pattern);
    }();
    static const bool removedAtExit = [] {
        std::atexit([] { std::filesystem::remove_all(*folder); });
        return true;
    }();
    static_cast<void>(removedAtExit);
    return *folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::filesystem::path file = privateFolder() / "package.zip";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    }
    tollen::database::indexPackage(file, "/package.zip", tollen::database::PackageKind::Archive);
    return 0;
}
