#pragma once
// Helpers for tests that write INF files: text in the encodings INF files come in.

#include <string>
#include <string_view>

namespace tollen::testing {

/// UTF-8 text as UTF-16LE bytes with a byte-order mark, as most real INF files are stored.
inline std::string utf16LittleEndian(std::string_view utf8)
{
    std::string bytes = "\xFF\xFE";
    for (std::size_t index = 0; index < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[index]);
        char32_t code = lead;
        std::size_t length = 1;
        if (lead >= 0xF0) {
            code = lead & 0x07;
            length = 4;
        } else if (lead >= 0xE0) {
            code = lead & 0x0F;
            length = 3;
        } else if (lead >= 0xC0) {
            code = lead & 0x1F;
            length = 2;
        }
        for (std::size_t more = 1; more < length; ++more) {
            code = (code << 6) | (static_cast<unsigned char>(utf8[index + more]) & 0x3F);
        }
        index += length;
        const auto unit = [&](char32_t value) {
            bytes += static_cast<char>(value & 0xFF);
            bytes += static_cast<char>(value >> 8);
        };
        if (code >= 0x10000) {
            unit(0xD800 + ((code - 0x10000) >> 10));
            unit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            unit(code);
        }
    }
    return bytes;
}

} // namespace tollen::testing
