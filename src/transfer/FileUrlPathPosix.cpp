#include "core/PathText.h"
#include "core/Text.h"
#include "transfer/FileUrlPath.h"

namespace tollen::transfer {

std::optional<std::filesystem::path> fileUrlPath(std::string_view host, const std::string &path)
{
    if (!host.empty() && !equalsIgnoringCase(host, "localhost")) {
        return std::nullopt;
    }
    if (path.empty()) {
        return std::nullopt;
    }
    return pathFromUtf8(path);
}

} // namespace tollen::transfer
