#pragma once
// UTF-16LE, as Windows hives and 5.00 registry exports hold string data, to and from the
// program's UTF-8.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tollen {

/// The byte-order mark that opens UTF-16LE files.
inline constexpr std::string_view kUtf16LeByteOrderMark = "\xFF\xFE";

/// Each UTF-16LE code unit pair to UTF-8, NUL characters included. An unpaired surrogate
/// becomes U+FFFD; a last odd byte, which cannot be a character, is dropped.
std::string utf16leToUtf8(const std::uint8_t *bytes, std::size_t size);

/// UTF-8 text (well-formed) to UTF-16LE bytes, NUL characters included.
std::vector<std::uint8_t> utf8ToUtf16le(std::string_view text);

/// The number of UTF-16 code units of UTF-8 text: Windows measures names in these. A byte that
/// does not begin a well-formed sequence counts as one unit.
std::size_t utf16Length(std::string_view text);

} // namespace tollen
