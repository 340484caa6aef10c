#pragma once
// Helpers for tests that write INF files: text in the encodings INF files come in.

#include "core/Utf16.h"

#include <string>
#include <string_view>

namespace tollen::testing {

/// UTF-8 text as UTF-16LE bytes with a byte-order mark, as most real INF files are stored.
inline std::string utf16LittleEndian(std::string_view utf8)
{
    const std::vector<std::uint8_t> units = utf8ToUtf16le(utf8);
    return "\xFF\xFE" + std::string(units.begin(), units.end());
}

} // namespace tollen::testing
