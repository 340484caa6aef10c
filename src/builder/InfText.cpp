#include "builder/InfText.h"

#include "core/Text.h"
#include "core/Utf16.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace tollen::builder {
namespace {

/// True when no byte of `bytes` has a bit set that `mask` sets at its place in the byte's group
/// of eight (the last group taken as if padded with zero bytes).
bool hasNoMaskedBits(std::string_view bytes, const std::array<unsigned char, 8> &mask)
{
    std::uint64_t maskWord = 0;
    std::memcpy(&maskWord, mask.data(), sizeof maskWord);
    std::size_t index = 0;
    for (; index + sizeof maskWord <= bytes.size(); index += sizeof maskWord) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes.data() + index, sizeof word);
        if ((word & maskWord) != 0) {
            return false;
        }
    }
    std::uint64_t last = 0;
    if (index < bytes.size()) {
        std::memcpy(&last, bytes.data() + index, bytes.size() - index);
    }
    return (last & maskWord) == 0;
}

/// True when every byte is ASCII; most INF files are, and then need no decoding.
bool isAscii(std::string_view bytes)
{
    return hasNoMaskedBits(bytes, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
}

/// True when every UTF-16LE unit (the bytes are whole units) is ASCII, as in most UTF-16 INF
/// files: each character is then its low byte.
bool isAsciiUtf16(std::string_view bytes)
{
    return hasNoMaskedBits(bytes, {0x80, 0xFF, 0x80, 0xFF, 0x80, 0xFF, 0x80, 0xFF});
}

} // namespace

std::string decodeInfText(std::string_view bytes)
{
    if (bytes.starts_with(kUtf16LeByteOrderMark)) {
        bytes.remove_prefix(kUtf16LeByteOrderMark.size());
        // A dangling last byte is no character.
        bytes.remove_suffix(bytes.size() % 2);
        if (isAsciiUtf16(bytes)) {
            std::string text(bytes.size() / 2, '\0');
            for (std::size_t index = 0; index < text.size(); ++index) {
                text[index] = bytes[2 * index];
            }
            return text;
        }
        return utf16leToUtf8(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    }
    if (bytes.starts_with(kUtf8ByteOrderMark)) {
        bytes.remove_prefix(kUtf8ByteOrderMark.size());
    }
    return isAscii(bytes) ? std::string(bytes) : decodeFileText(bytes);
}

} // namespace tollen::builder
