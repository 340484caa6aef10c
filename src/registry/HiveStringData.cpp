#include "registry/HiveStringData.h"

#include "core/Text.h"
#include "core/Utf16.h"

#include <algorithm>
#include <string_view>

namespace tollen::registry {

namespace {

bool isLineControl(std::uint32_t code)
{
    return code == '\t' || code == '\n' || code == '\r';
}

/// Characters text does not hold: controls other than tab, line feed, carriage return and
/// NUL (which ends a string), private-use characters and noncharacters.
bool isUnlikelyInText(std::uint32_t code)
{
    return (code != 0 && code < 0x20 && !isLineControl(code)) || (code >= 0x7F && code < 0xA0) ||
           (code >= 0xE000 && code < 0xF900) || code >= 0xFFFE;
}

/// Even-length data whose UTF-16LE reading is text: surrogates paired, nothing unlikely.
bool readsAsUtf16Text(const std::vector<std::uint8_t> &bytes)
{
    const auto unitAt = [&bytes](std::size_t index) {
        return static_cast<std::uint32_t>(bytes[2 * index] | (bytes[2 * index + 1] << 8));
    };
    const auto units = bytes.size() / 2;
    for (std::size_t index = 0; index < units; ++index) {
        const auto unit = unitAt(index);
        if (unit >= 0xD800 && unit < 0xDC00 && index + 1 < units && unitAt(index + 1) >= 0xDC00 &&
            unitAt(index + 1) < 0xE000) {
            ++index;
        } else if ((unit >= 0xD800 && unit < 0xE000) || isUnlikelyInText(unit)) {
            return false;
        }
    }
    return true;
}

/// 8-bit text ended by one NUL byte: no NUL or control character before it.
bool hasEightBitShape(std::string_view bytes)
{
    if (bytes.empty() || bytes.back() != '\0') {
        return false;
    }
    bytes.remove_suffix(1);
    return std::none_of(bytes.begin(), bytes.end(), [](char character) {
        const auto code = static_cast<std::uint8_t>(character);
        return (code < 0x20 && !isLineControl(code)) || code == 0x7F;
    });
}

bool isEightBitText(const std::vector<std::uint8_t> &bytes, std::string_view asText)
{
    if (bytes.size() % 2 != 0) {
        return true;
    }
    if (!hasEightBitShape(asText)) {
        return false;
    }
    return !readsAsUtf16Text(bytes) || isValidUtf8(asText.substr(0, asText.size() - 1));
}

} // namespace

std::string hiveStringText(const std::vector<std::uint8_t> &bytes)
{
    const std::string_view asText(reinterpret_cast<const char *>(bytes.data()), bytes.size());
    return isEightBitText(bytes, asText) ? decodeFileText(asText)
                                         : utf16leToUtf8(bytes.data(), bytes.size());
}

} // namespace tollen::registry
