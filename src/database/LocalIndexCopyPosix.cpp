// Reading the copy on Linux: through a descriptor opened without following a link.

#include "core/FileDescriptor.h"
#include "database/LocalIndexCopy.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tollen::database {

std::optional<std::string> LocalIndexCopy::read() const
{
    if (m_path.empty()) {
        return std::nullopt;
    }
    // Not through a link, and without waiting on a pipe planted at the name: only a regular
    // file is read.
    const FileDescriptor file(
        ::open(m_path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status
    {
    };
    if (!file || ::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(status.st_size));
    std::array<char, 1 << 16> buffer{};
    while (true) {
        const ssize_t count = ::read(file.get(), buffer.data(), buffer.size());
        if (count == 0) {
            return bytes;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        bytes.append(buffer.data(), static_cast<std::size_t>(count));
    }
}

} // namespace tollen::database
