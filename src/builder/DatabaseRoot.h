#pragma once
// The names the builder uses in a database root: the index tree it writes, and its own files,
// which all start with ".tollen-index" so the packages' owners can tell them apart. Nothing else
// in the root is ever written.

#include "database/IndexTree.h"

#include <filesystem>
#include <string_view>

namespace tollen::builder {

/// The start of the name of every file the builder keeps in the root.
inline constexpr std::string_view kBuilderFilePrefix = ".tollen-index";

/// The root's index tree.
inline std::filesystem::path indexTreePath(const std::filesystem::path &root)
{
    return root / database::kIndexTreeName;
}

/// The tree being built, swapped in for the index tree when it is complete.
inline std::filesystem::path buildTreePath(const std::filesystem::path &root)
{
    return root / ".tollen-index-build";
}

/// Where the old tree goes while the new one moves in, on file systems that cannot swap two
/// folders in one step.
inline std::filesystem::path oldTreePath(const std::filesystem::path &root)
{
    return root / ".tollen-index-old";
}

/// What the last run read from each package.
inline std::filesystem::path cachePath(const std::filesystem::path &root)
{
    return root / ".tollen-index-cache";
}

/// Held while a run works on the root, so two runs never build at once.
inline std::filesystem::path lockPath(const std::filesystem::path &root)
{
    return root / ".tollen-index-lock";
}

} // namespace tollen::builder
