#include "core/Utf16.h"

namespace tollen {

namespace {

void appendUtf8(std::string &text, std::uint32_t code)
{
    const auto put = [&text](std::uint32_t byte) { text.push_back(static_cast<char>(byte)); };
    if (code < 0x80) {
        put(code);
    } else if (code < 0x800) {
        put(0xC0 | (code >> 6));
        put(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        put(0xE0 | (code >> 12));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    } else {
        put(0xF0 | (code >> 18));
        put(0x80 | ((code >> 12) & 0x3F));
        put(0x80 | ((code >> 6) & 0x3F));
        put(0x80 | (code & 0x3F));
    }
}

bool isHighSurrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit < 0xDC00;
}
bool isLowSurrogate(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit < 0xE000;
}

} // namespace

std::string utf16leToUtf8(const std::uint8_t *bytes, std::size_t size)
{
    constexpr std::uint32_t kReplacement = 0xFFFD;
    const auto unitAt = [bytes](std::size_t index) {
        return static_cast<std::uint32_t>(bytes[2 * index]) |
               (static_cast<std::uint32_t>(bytes[2 * index + 1]) << 8);
    };
    const auto units = size / 2;
    std::string text;
    text.reserve(units);
    for (std::size_t index = 0; index < units; ++index) {
        const auto unit = unitAt(index);
        if (isHighSurrogate(unit) && index + 1 < units && isLowSurrogate(unitAt(index + 1))) {
            appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(index + 1) - 0xDC00));
            ++index;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(text, kReplacement);
        } else {
            appendUtf8(text, unit);
        }
    }
    return text;
}

std::vector<std::uint8_t> utf8ToUtf16le(std::string_view text)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() * 2);
    const auto putUnit = [&bytes](std::uint32_t unit) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    std::size_t index = 0;
    while (index < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[index]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t code = length == 1   ? lead
                             : length == 2 ? lead & 0x1F
                             : length == 3 ? lead & 0x0F
                                           : lead & 0x07;
        for (std::size_t extra = 1; extra < length && index + extra < text.size(); ++extra) {
            code = (code << 6) | (static_cast<std::uint8_t>(text[index + extra]) & 0x3F);
        }
        index += length;
        if (code >= 0x10000) {
            putUnit(0xD800 + ((code - 0x10000) >> 10));
            putUnit(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            putUnit(code);
        }
    }
    return bytes;
}

std::size_t utf16Length(std::string_view text)
{
    std::size_t units = 0;
    std::size_t index = 0;
    while (index < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[index]);
        const std::size_t length = lead < 0xC2   ? 1
                                   : lead < 0xE0 ? 2
                                   : lead < 0xF0 ? 3
                                   : lead < 0xF5 ? 4
                                                 : 1;
        std::size_t present = 1;
        while (present < length && index + present < text.size() &&
               (static_cast<std::uint8_t>(text[index + present]) & 0xC0) == 0x80) {
            ++present;
        }
        if (present == length) {
            units += length == 4 ? 2 : 1; // characters beyond U+FFFF take a surrogate pair
            index += length;
        } else {
            ++units;
            ++index;
        }
    }
    return units;
}

} // namespace tollen
