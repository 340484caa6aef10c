#include "core/Text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

namespace tollen {
namespace {

// Code points of the Windows-1252 bytes 0x80 to 0x9F; 0 marks the five unassigned bytes.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

/// Decodes one UTF-8 sequence at `position`, advancing it; nullopt for a malformed sequence.
std::optional<char32_t> nextCodePoint(std::string_view text, std::size_t &position)
{
    const auto lead = static_cast<unsigned char>(text[position]);
    int length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0 && lead >= 0xC2) {
        length = 2;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (position + length > text.size()) {
        return std::nullopt;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[position + i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    if (overlong || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return std::nullopt;
    }
    position += length;
    return code;
}

/// Calls `onCharacter` for each UTF-8 character of `text` and `onStrayByte` for each byte that
/// is not part of a well-formed character.
template <typename OnCharacter, typename OnStrayByte>
void forEachCharacter(std::string_view text, OnCharacter onCharacter, OnStrayByte onStrayByte)
{
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t start = position;
        if (const auto code = nextCodePoint(text, position)) {
            onCharacter(*code);
        } else {
            onStrayByte(text[start]);
            position = start + 1;
        }
    }
}

char32_t upperCodePoint(char32_t code)
{
    if (code >= 'a' && code <= 'z') {
        return code - 0x20;
    }
    if (code >= 0xE0 && code <= 0xFE && code != 0xF7) {
        return code - 0x20;
    }
    if (code == 0xFF) {
        return 0x178;
    }
    return code;
}

/// `text` with each character mapped; bytes that are not part of a character stay.
template <typename MapCodePoint> std::string mapCharacters(std::string_view text, MapCodePoint map)
{
    std::string result;
    result.reserve(text.size());
    forEachCharacter(
        text, [&](char32_t code) { appendUtf8(result, map(code)); },
        [&](char byte) { result += byte; });
    return result;
}

} // namespace

void appendUtf8(std::string &out, char32_t code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string toUpper(std::string_view text)
{
    return mapCharacters(text, upperCodePoint);
}

bool equalsIgnoringCase(std::string_view left, std::string_view right)
{
    // Upper-casing keeps the length of every character, so texts of different lengths differ.
    if (left.size() != right.size()) {
        return false;
    }
    for (std::size_t i = 0; i < left.size(); ++i) {
        const auto a = static_cast<unsigned char>(left[i]);
        const auto b = static_cast<unsigned char>(right[i]);
        if (a == b || (a < 0x80 && b < 0x80 && upperCodePoint(a) == upperCodePoint(b))) {
            continue;
        }
        // Two ASCII characters that differ beyond case; otherwise the letters beyond ASCII
        // decide.
        return a >= 0x80 && b >= 0x80 && toUpper(left) == toUpper(right);
    }
    return true;
}

bool isValidUtf8(std::string_view bytes)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080U;
    std::size_t position = 0;
    while (position < bytes.size()) {
        // Runs of ASCII, the common case, eight bytes at a time.
        while (position + sizeof(std::uint64_t) <= bytes.size()) {
            std::uint64_t eight = 0;
            std::memcpy(&eight, bytes.data() + position, sizeof eight);
            if ((eight & kHighBits) != 0) {
                break;
            }
            position += sizeof eight;
        }
        if (position < bytes.size() && !nextCodePoint(bytes, position)) {
            return false;
        }
    }
    return true;
}

std::string decodeFileText(std::string_view bytes)
{
    if (isValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string result;
    result.reserve(bytes.size() + bytes.size() / 4);
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        if (value >= 0x80 && value <= 0x9F) {
            const char32_t mapped = kWindows1252High[value - 0x80];
            appendUtf8(result, mapped != 0 ? mapped : value);
        } else {
            appendUtf8(result, value);
        }
    }
    return result;
}

std::string encodeWindows1252(std::string_view utf8)
{
    std::string result;
    result.reserve(utf8.size());
    forEachCharacter(
        utf8,
        [&](char32_t code) {
            if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
                result += static_cast<char>(code);
                return;
            }
            char replacement = '?';
            for (std::size_t i = 0; i < kWindows1252High.size(); ++i) {
                if (kWindows1252High[i] == code) {
                    replacement = static_cast<char>(0x80 + i);
                }
            }
            result += replacement;
        },
        [&](char byte) { result += byte; });
    return result;
}

std::u32string decodeUtf8(std::string_view text)
{
    std::u32string characters;
    characters.reserve(text.size());
    forEachCharacter(
        text, [&](char32_t code) { characters += code; },
        [&](char) { characters += kReplacementCharacter; });
    return characters;
}

std::string trimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

std::string percentEncode(std::string_view text, std::string_view kept)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        const bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                                (byte >= '0' && byte <= '9') || character == '-' ||
                                character == '.' || character == '_' || character == '~';
        if (unreserved || kept.find(character) != std::string_view::npos) {
            encoded += character;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string asciiLower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char character) { return asciiLower(character); });
    return result;
}

std::string asciiUpper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char character) { return asciiUpper(character); });
    return result;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool endsWithIgnoringCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() &&
           equalsIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace tollen
