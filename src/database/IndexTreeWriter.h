#pragma once
// Writes the index tree: every placed line in the index.txt of each of its ID's prefixes, each
// file sorted by Hardware ID, then Remote path, then Decoration, then the whole line (comparing
// bytes), each line once and ended with CR LF.
//
// The tree is built beside the old one under the builder's own name and swapped in only when it
// is complete and on the disk, in one step where the file system can, so a server never serves
// half a tree. When anything fails, the new tree is removed and the old one stays as it was.

#include "core/Error.h"
#include "database/IndexCache.h"
#include "database/PackageIndex.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace tollen::database {

/// Writes the tree of the packages' lines (each package's lines text as PackageIndex holds it)
/// as the root's index tree. On success `record` describes the new tree.
Error writeIndexTree(const std::filesystem::path &root,
                     const std::vector<std::string_view> &packageLines, TreeRecord &record);

/// The record of the root's index tree as it is now, without its files; nullopt when there is
/// none.
std::optional<TreeRecord> currentTreeRecord(const std::filesystem::path &root);

/// True when each of `files` is in the root's index tree as a plain file of the size and
/// modification time recorded: none was deleted, overwritten or replaced since it was written.
bool treeFilesAsRecorded(const std::filesystem::path &root, const std::vector<TreeFile> &files);

} // namespace tollen::database
