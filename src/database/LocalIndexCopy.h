#pragma once
// The local copy of the last index file a query fetched: "index.txt" in this run's private
// temporary folder. Every query that finds an index file removes the previous copy, the
// download then writes a new one (through a temporary file renamed into place), and the query
// reads it. No step opens the name through a symbolic link.

#include "core/Error.h"

#include <filesystem>
#include <optional>
#include <string>

namespace tollen::database {

class LocalIndexCopy
{
public:
    /// The copy in this run's folder; the folder is made at the first call. An error when the
    /// folder cannot be made.
    static LocalIndexCopy inRunFolder(Error &error);

    explicit LocalIndexCopy(std::filesystem::path path) : m_path(std::move(path)) {}

    const std::filesystem::path &path() const { return m_path; }

    /// Removes whatever holds the name (a link itself, never its target); nothing there is no
    /// failure.
    void remove() const;

    /// The copy's bytes; nullopt when it is missing, is not a regular file, or cannot be read.
    std::optional<std::string> read() const;

private:
    std::filesystem::path m_path;
};

} // namespace tollen::database
