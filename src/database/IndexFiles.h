#pragma once
// The index files of the driver database as the driver matcher reads them: one whole file by its
// path, with no size query first, and whether it was there, missing, or could not be fetched.

#include "database/RemoteFiles.h"

#include <cstdint>
#include <string>

namespace tollen::database {

/// The most bytes an index file may hold when the matcher fetches it: a server that sends more
/// is refused, so that no answer without end fills the disk. The largest index of a database of
/// 10,000 INF files holds a few megabytes.
inline constexpr std::int64_t kIndexFileLimit = 256LL * 1024 * 1024;

struct IndexFileText
{
    enum class Kind { Found, Missing, Failed };
    Kind kind = Kind::Missing;
    /// The file's text, decoded as the query decodes it; empty unless found.
    std::string text;
    /// Why the fetch failed.
    std::string reason;
};

class IndexFiles
{
public:
    virtual ~IndexFiles() = default;

    /// `indexFile` as QueryPath::indexFile() writes it: "/DIRSTRUCT/pci/VEN_8086/index.txt".
    virtual IndexFileText fetch(const std::string &indexFile) = 0;
};

/// The index files over the window's remote files: each one downloaded with no size query, up to
/// kIndexFileLimit bytes, into the local index copy and read back. A download that fails because
/// the transfer went wrong is Failed; one that finds no file is Missing.
class RemoteIndexFiles final : public IndexFiles
{
public:
    explicit RemoteIndexFiles(RemoteFiles &files) : m_files(files) {}

    IndexFileText fetch(const std::string &indexFile) override;

private:
    RemoteFiles &m_files;
};

} // namespace tollen::database
