#include "core/PathText.h"

namespace tollen {

std::filesystem::path pathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::string(text));
}

std::string utf8FromPath(const std::filesystem::path &path)
{
    return path.string();
}

std::string genericUtf8FromPath(const std::filesystem::path &path)
{
    return path.generic_string();
}

} // namespace tollen
