#include "FuzzSupport.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

namespace tollen::fuzz {

const std::filesystem::path &privateFolder()
{
    struct Folder
    {
        std::filesystem::path path;
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder{[] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tollen-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        return std::filesystem::path(pattern);
    }()};
    return folder.path;
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
