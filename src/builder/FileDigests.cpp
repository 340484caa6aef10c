#include "builder/FileDigests.h"

namespace tollen::builder {

Error FileDigests::digest(const FoundFile &file, FileDigest &digest)
{
    if (const auto used = m_used.find(file.remotePath); used != m_used.end()) {
        digest = used->second.digest;
        return {};
    }
    const auto known = m_known.find(file.remotePath);
    if (known != m_known.end() && known->second.stamp == file.stamp) {
        digest = known->second.digest;
    } else if (Error error = digestFile(file.path, digest)) {
        return error;
    } else {
        m_anyRead = true;
    }
    m_used.emplace(file.remotePath, KnownDigest{file.stamp, digest});
    return {};
}

} // namespace tollen::builder
