#include "database/InfText.h"

#include "core/Text.h"

#include <cstdint>
#include <cstring>

namespace tollen::database {
namespace {

constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr char32_t kReplacementCharacter = 0xFFFD;

bool isHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::string decodeUtf16LittleEndian(std::string_view bytes)
{
    const std::size_t unitCount = bytes.size() / 2;
    const auto unitAt = [&](std::size_t index) -> char32_t {
        return static_cast<std::uint8_t>(bytes[2 * index]) |
               (static_cast<char32_t>(static_cast<std::uint8_t>(bytes[2 * index + 1])) << 8);
    };
    std::string text;
    text.reserve(unitCount);
    for (std::size_t index = 0; index < unitCount; ++index) {
        const char32_t unit = unitAt(index);
        if (unit < 0x80) {
            text += static_cast<char>(unit);
        } else if (isHighSurrogate(unit) && index + 1 < unitCount &&
                   isLowSurrogate(unitAt(index + 1))) {
            const char32_t low = unitAt(++index);
            appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(text, kReplacementCharacter);
        } else {
            appendUtf8(text, unit);
        }
    }
    return text;
}

/// True when every byte is ASCII; most INF files are, and then need no decoding.
bool isAscii(std::string_view bytes)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t index = 0;
    for (; index + sizeof(std::uint64_t) <= bytes.size(); index += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + index, sizeof word);
        if ((word & kHighBits) != 0) {
            return false;
        }
    }
    for (; index < bytes.size(); ++index) {
        if ((static_cast<unsigned char>(bytes[index]) & 0x80) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string decodeInfText(std::string_view bytes)
{
    if (bytes.starts_with(kUtf16LittleEndianMark)) {
        return decodeUtf16LittleEndian(bytes.substr(kUtf16LittleEndianMark.size()));
    }
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    return isAscii(bytes) ? std::string(bytes) : decodeFileText(bytes);
}

} // namespace tollen::database
