#include "database/LocalIndexCopy.h"

#include "core/RunFolder.h"

#include <system_error>

namespace tollen::database {

LocalIndexCopy LocalIndexCopy::inRunFolder(Error &error)
{
    const RunFolder folder = runFolder();
    error = folder.error;
    return LocalIndexCopy(folder ? folder.path / "index.txt" : std::filesystem::path());
}

void LocalIndexCopy::remove() const
{
    // Unlinking a name removes a symbolic link itself and never touches what it points to.
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
}

} // namespace tollen::database
