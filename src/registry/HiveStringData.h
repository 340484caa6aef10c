#pragma once
// String data (types 1, 2 and 7) as hives hold it: UTF-16LE as Windows writes it, with or
// without its final NUL, or the 8-bit text some programs store instead.

#include <cstdint>
#include <string>
#include <vector>

namespace tollen::registry {

/// The data as UTF-8, NUL characters kept. Even-length data is UTF-16LE unless it has the shape
/// of 8-bit text ended by one NUL byte and either does not read as UTF-16 text (an unpaired
/// surrogate, a control or private-use character) or reads as UTF-8: "abc" and its NUL are the
/// 8-bit "abc", not the UTF-16 "扡c". Odd-length data is 8-bit text, taken as UTF-8 when valid
/// and as Windows-1252 otherwise.
std::string hiveStringText(const std::vector<std::uint8_t> &bytes);

} // namespace tollen::registry
