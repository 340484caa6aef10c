#pragma once
// The names fetch gives what it writes into its folder: each package's folder (DIR/<package>/),
// and an archive kept as it came.

#include <string>
#include <string_view>

namespace tollen::cli {

/// `name` with every character Windows refuses in a file name made "_", and no dot or space at
/// either end (which Windows drops, and which would hide a name on Linux); "package" when
/// nothing is left.
std::string windowsSafeName(std::string_view name);

/// The package's own name (an archive's without its extension, a folder package's last folder),
/// with every character Windows refuses in a name made "_", no dot or space at either end and at
/// most 40 bytes, then "-" and the first 12 digits of the SHA-256 of the package's path: two
/// packages of one name never share a folder, and every run finds a package in the same one.
/// "/Intel/LAN/" gives "LAN-1d3c...", "/HP/sp 123.exe" "sp 123-7a0f...".
std::string packageFolderName(std::string_view packagePath);

} // namespace tollen::cli
