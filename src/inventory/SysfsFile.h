#pragma once
// Reading the small attribute files of sysfs: one line of text, or a hexadecimal number such as
// "0x8086". A missing, unreadable or malformed file gives nullopt, never a failure.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tollen::inventory {

/// The first line of the file, decoded as UTF-8 (Windows-1252 when not valid), without its
/// line end and surrounding spaces; nullopt when the file cannot be read.
std::optional<std::string> readSysfsLine(const std::filesystem::path &file);

/// The file's number, written in hexadecimal with or without "0x"; nullopt when the file is
/// missing, empty, not hexadecimal or larger than 32 bits.
std::optional<std::uint32_t> readSysfsHex(const std::filesystem::path &file);

/// The name of the driver an entry's "driver" link leads to; empty when it has none.
std::string sysfsDriverName(const std::filesystem::path &entry);

/// The entries of a sysfs folder, sorted by name; empty when the folder does not exist.
std::vector<std::filesystem::path> sysfsEntries(const std::filesystem::path &folder);

} // namespace tollen::inventory
