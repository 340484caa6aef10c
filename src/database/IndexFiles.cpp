#include "database/IndexFiles.h"

#include "core/PathText.h"
#include "core/Text.h"
#include "database/LocalIndexCopy.h"

#include <utility>

namespace tollen::database {

IndexFileText RemoteIndexFiles::fetch(const std::string &indexFile)
{
    using Kind = IndexFileText::Kind;
    Error folderError;
    const LocalIndexCopy copy = LocalIndexCopy::inRunFolder(folderError);
    if (folderError) {
        return {Kind::Failed, {}, folderError.message};
    }
    copy.remove();
    std::string strurl = indexFile;
    std::string destination = utf8FromPath(copy.path());
    const bool downloaded = m_files.DownloadFile(strurl, destination, kIndexFileLimit) != 0;
    // A download can report success without a copy (an FTP connection that could not be made).
    std::optional<std::string> bytes = downloaded ? copy.read() : std::nullopt;
    if (!bytes) {
        const transfer::TransferFailure &failure = m_files.lastFailure();
        if (failure.isFault()) {
            return {Kind::Failed, {}, failure.reason};
        }
        return {Kind::Missing, {}, {}};
    }
    std::string text = isValidUtf8(*bytes) ? std::move(*bytes) : decodeFileText(*bytes);
    return {Kind::Found, std::move(text), {}};
}

} // namespace tollen::database
