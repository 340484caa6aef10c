#pragma once
// Reads one driver package, a loose INF file or an archive, into its index lines.
//
// Every INF file gives lines by the model rules (InfModels.h); lines whose ID has a place in the
// tree (IdPlacement.h) are kept, each once. A file that cannot give lines is skipped with its
// reason, never as an error that stops the run. An archive that breaks off gives no lines at all,
// since the download of its rows could not be unpacked either.

#include "builder/PackageIndex.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tollen::builder {

/// Most lines (distinct or not) and most bytes of lines one INF file may give; a file that gives
/// more is skipped, so a hostile file cannot exhaust memory.
inline constexpr std::size_t kMostLinesPerInf = 250'000;
inline constexpr std::size_t kMostLineBytesPerInf = 64 * 1024 * 1024;

enum class PackageKind { InfFile, Archive };

/// The kind of package a file name names (".inf", or ".zip", ".7z", ".rar", ".exe", ignoring
/// case); nullopt for any other file.
std::optional<PackageKind> packageKindOf(std::string_view fileName);

/// Reads the package at `file`, whose path below the database root is `remotePath` (starting
/// with "/", "/"-separated).
PackageIndex indexPackage(const std::filesystem::path &file, const std::string &remotePath,
                          PackageKind kind);

} // namespace tollen::builder
