#include "transfer/FtpSession.h"

namespace tollen::transfer {

std::string FtpSession::absolute(const std::string &path) const
{
    if (!path.empty() && path.front() == '/') {
        return path;
    }
    const std::string &directory = workingDirectory();
    if (path.empty()) {
        return directory;
    }
    const bool separated = !directory.empty() && directory.back() == '/';
    return directory + (separated ? "" : "/") + path;
}

} // namespace tollen::transfer
