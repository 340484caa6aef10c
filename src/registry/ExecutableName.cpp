#include "registry/ExecutableName.h"

#include <filesystem>
#include <system_error>

namespace tollen::registry {

const std::string &executableBaseName()
{
    static const std::string name = [] {
        std::error_code error;
        const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
        const auto stem = executable.stem().string();
        return error || stem.empty() ? std::string("tollen") : stem;
    }();
    return name;
}

} // namespace tollen::registry
