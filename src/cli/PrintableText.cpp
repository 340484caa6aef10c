#include "cli/PrintableText.h"

#include "core/Text.h"

namespace tollen::cli {

namespace {

bool isControl(char32_t code)
{
    return code < 0x20 || (code >= 0x7F && code <= 0x9F);
}

bool isCombining(char32_t code)
{
    return (code >= 0x0300 && code <= 0x036F) || (code >= 0x200B && code <= 0x200F) ||
           (code >= 0xFE00 && code <= 0xFE0F) || (code >= 0x20D0 && code <= 0x20FF);
}

bool isWide(char32_t code)
{
    return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
           (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
           (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
           (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x1F300 && code <= 0x1FAFF) ||
           (code >= 0x20000 && code <= 0x3FFFD);
}

} // namespace

std::string printable(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char32_t code : decodeUtf8(text)) {
        if (code == '\t' || code == '\r' || code == '\n') {
            result += ' ';
        } else {
            appendUtf8(result, isControl(code) ? kReplacementCharacter : code);
        }
    }
    return result;
}

std::size_t displayWidth(std::string_view text)
{
    std::size_t width = 0;
    for (const char32_t code : decodeUtf8(text)) {
        width += isCombining(code) ? 0 : isWide(code) ? 2 : 1;
    }
    return width;
}

} // namespace tollen::cli
