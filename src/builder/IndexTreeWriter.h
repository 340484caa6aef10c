#pragma once
// Writes the index tree: every placed line in the index.txt of each of its ID's prefixes, each
// file sorted by Hardware ID, then Remote path, then Decoration, then the whole line (comparing
// bytes), each line once and ended with CR LF.
//
// The tree is built beside the old one under the builder's own name and swapped in only when it
// is complete and on the disk, in one step where the file system can, so a server never serves
// half a tree. When anything fails, the new tree is removed and the old one stays as it was.
//
// The writer takes the packages' lines while the builder reads them. Once the builder knows the
// tree will be written, a second thread (where the machine has a second core) files the lines
// under their IDs and makes the new tree's folders while the rest is read; at the end both
// threads write the index files. The files added beside them (the packages' file lists) follow,
// and the database's description last, all in the same swap.

#include "builder/IndexCache.h"
#include "builder/IndexTreeLines.h"
#include "core/Error.h"
#include "core/FileDescriptor.h"
#include "database/DatabaseDescription.h"

#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

namespace tollen::builder {

class IndexTreeWriter
{
public:
    explicit IndexTreeWriter(std::filesystem::path root);
    ~IndexTreeWriter();
    IndexTreeWriter(const IndexTreeWriter &) = delete;
    IndexTreeWriter &operator=(const IndexTreeWriter &) = delete;

    /// Takes the lines text of one package, as PackageIndex holds it; the text must stay in place
    /// until write() returns.
    void add(std::string_view packageLines);

    /// The tree will be written: from now on the lines are filed and the folders made as they
    /// come, on a second thread.
    void startBuilding();

    /// Takes a file the tree holds beside its index files, by its path below the tree's top
    /// folder ("tollen-packages/ab/ab12....txt").
    void addFile(std::string path, std::string text);

    /// Writes the tree of every line and file added, then `description` with the tree's counts
    /// of lines and index files, and swaps it in; on success `record` describes the new tree.
    /// Called once.
    Error write(TreeRecord &record, database::DatabaseDescription description);

private:
    /// The second thread's work: files the lines added and makes their folders, until write()
    /// says no more lines come.
    void build();
    /// Files the lines added since the last call and makes the folders of the IDs new among them.
    void fileLines(const std::vector<std::string_view> &texts);
    /// Removes what a run that died left under the new tree's name and makes its top folder.
    Error makeTopFolder();

    std::filesystem::path m_root;
    std::filesystem::path m_built;

    std::mutex m_mutex;
    std::condition_variable m_added;
    /// Guarded by m_mutex: the texts added and not yet filed, and whether write() has begun.
    std::vector<std::string_view> m_texts;
    bool m_finishing = false;

    bool m_building = false;
    /// The files added, by path below the tree; used by the calling thread only.
    std::vector<std::pair<std::string, std::string>> m_files;

    /// Used by the second thread while it runs, by write() after.
    IndexTreeLines m_lines;
    std::optional<FileDescriptor> m_top;
    std::size_t m_foldersMade = 0;
    Error m_error;
    std::exception_ptr m_exception;

    std::jthread m_builder;
};

/// The record of the root's index tree as it is now, without its files; nullopt when there is
/// none.
std::optional<TreeRecord> currentTreeRecord(const std::filesystem::path &root);

/// True when each of `files` is in the root's index tree as a plain file of the size and
/// modification time recorded: none was deleted, overwritten or replaced since it was written.
bool treeFilesAsRecorded(const std::filesystem::path &root, const std::vector<TreeFile> &files);

} // namespace tollen::builder
