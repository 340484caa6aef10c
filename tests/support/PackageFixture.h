#pragma once
// Package file lists written at test time as tollen-index writes them, for databases whose
// packages the tests lay out themselves. Programs that use it compile it themselves and link the
// database layer.

#include <filesystem>
#include <string>

namespace tollen::testing {

/// Writes the file list of the package at `packagePath` ("/Vendor/pkg.zip" or "/Vendor/Folder/")
/// from the files below `root`: the archive alone, or every file of the folder and its
/// sub-folders, each with its size and digest.
void writePackageList(const std::filesystem::path &root, const std::string &packagePath);

} // namespace tollen::testing
