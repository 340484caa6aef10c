#include "database/ArchivePath.h"

#include "core/Text.h"

namespace tollen::database {

bool HasArchiveExtension(std::string_view text)
{
    // Letters are lowered as ASCII only: the rule must not depend on the locale a face sets.
    const std::string last = asciiLower(text.substr(text.size() < 3 ? 0 : text.size() - 3));
    return last == "exe" || last == "rar" || last == ".7z" || last == "zip";
}

std::string archivePath(std::string_view remotePath)
{
    // The text grows a character at a time until it ends in a suffix, so the archive is the first
    // one along the path: the rest names a file inside it.
    for (std::size_t length = 0; length < remotePath.size(); ++length) {
        if (HasArchiveExtension(remotePath.substr(0, length))) {
            return std::string(remotePath.substr(0, length));
        }
    }
    return std::string(remotePath);
}

} // namespace tollen::database
