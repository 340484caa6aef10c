#include "database/InfText.h"

#include "core/Text.h"
#include "registry/Utf16.h"

#include <cstdint>
#include <cstring>

namespace tollen::database {
namespace {

constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

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
        bytes.remove_prefix(kUtf16LittleEndianMark.size());
        return registry::utf16leToUtf8(reinterpret_cast<const std::uint8_t *>(bytes.data()),
                                       bytes.size());
    }
    if (bytes.starts_with(kUtf8Mark)) {
        bytes.remove_prefix(kUtf8Mark.size());
    }
    return isAscii(bytes) ? std::string(bytes) : decodeFileText(bytes);
}

} // namespace tollen::database
