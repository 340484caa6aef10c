#pragma once
// The hint a query that found no index file gives when the host is perhaps no database root at
// all: every database tollen-index builds holds its description (DIRSTRUCT/tollen-database.json),
// so a host without one may have been given a folder above or below the root.

#include "cli/CommandLineWindow.h"
#include "database/IndexFiles.h"

#include <string>

namespace tollen::cli {

/// What a message about a missing index file adds: that the host may not be a database root,
/// when it holds no description; nothing when it holds one or cannot be asked. Asks the host
/// once.
std::string databaseRootNote(CommandLineWindow &window);

/// Index files that remember whether any was found.
class CountedIndexFiles final : public database::IndexFiles
{
public:
    explicit CountedIndexFiles(database::IndexFiles &files) : m_files(files) {}

    database::IndexFileText fetch(const std::string &indexFile) override;
    bool anyFound() const { return m_anyFound; }

private:
    database::IndexFiles &m_files;
    bool m_anyFound = false;
};

} // namespace tollen::cli
