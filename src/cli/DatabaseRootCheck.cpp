#include "cli/DatabaseRootCheck.h"

#include "database/DatabaseDescription.h"

namespace tollen::cli {

std::string databaseRootNote(CommandLineWindow &window)
{
    database::RemoteIndexFiles files(window.form().transfers());
    const database::IndexFileText description =
        files.fetch(std::string(database::kDatabaseDescriptionPath));
    if (description.kind != database::IndexFileText::Kind::Missing) {
        return {};
    }
    return "; the host holds no " + std::string(database::kDatabaseDescriptionPath.substr(1)) +
           ", so it may not be a database root";
}

database::IndexFileText CountedIndexFiles::fetch(const std::string &indexFile)
{
    database::IndexFileText text = m_files.fetch(indexFile);
    m_anyFound = m_anyFound || text.kind == database::IndexFileText::Kind::Found;
    return text;
}

} // namespace tollen::cli
