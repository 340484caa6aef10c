// Reading the copy on Windows. The copy lies in this run's folder under the user's own profile,
// which no other user can plant a link in; the name is still read only when it holds a
// regular file, not a link or a junction.

#include "core/FilePrefix.h"
#include "database/LocalIndexCopy.h"

#include <limits>
#include <system_error>

namespace tollen::database {

std::optional<std::string> LocalIndexCopy::read() const
{
    if (m_path.empty()) {
        return std::nullopt;
    }
    std::error_code error;
    if (std::filesystem::symlink_status(m_path, error).type() !=
        std::filesystem::file_type::regular) {
        return std::nullopt;
    }
    return readFilePrefix(m_path, std::numeric_limits<std::size_t>::max());
}

} // namespace tollen::database
