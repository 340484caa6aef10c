#include "ui/DownloadRules.h"

#include "core/Text.h"

namespace tollen::ui {

std::string archiveName(std::string_view archivePath)
{
    const auto slash = archivePath.rfind('/');
    return std::string(slash == std::string_view::npos ? archivePath
                                                       : archivePath.substr(slash + 1));
}

std::string nameExtension(std::string_view name)
{
    const auto dot = name.rfind('.');
    return std::string(dot == std::string_view::npos ? name : name.substr(dot + 1));
}

std::string saveFilter(const std::string &extension)
{
    return extension + " Files (*." + extension + ")|*." + extension;
}

bool isUsableFileName(std::string_view name)
{
    // Judged without surrounding spaces, which the FTP download trims from its destination.
    const std::string trimmed = trimSpaces(name);
    return !trimmed.empty() && trimmed != "." && trimmed != ".." &&
           name.find('\0') == std::string_view::npos;
}

} // namespace tollen::ui
