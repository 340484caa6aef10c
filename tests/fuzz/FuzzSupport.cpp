#include "FuzzSupport.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace tollen::fuzz {

const std::filesystem::path &privateFolder()
{
    // Never destroyed, so the exit handler that removes it can still name it.
    static const std::filesystem::path *folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tollen-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return new std::filesystem::path(pattern);
    }();
    static const bool removedAtExit = [] {
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(*folder, ignored);
        });
        return true;
    }();
    static_cast<void>(removedAtExit);
    return *folder;
}

std::filesystem::path writeInput(std::string_view name, std::string_view bytes)
{
    const std::filesystem::path file = privateFolder() / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    require(!out.fail());
    return file;
}

} // namespace tollen::fuzz
