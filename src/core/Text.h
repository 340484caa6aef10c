#pragma once
// Small text routines shared by every layer: comparisons that ignore letter case the way the
// program's Windows ancestors did, and decoding of files made on Windows.

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace tollen {

/// The number the whole of `text` spells in `base`, without a sign; nullopt for an empty text,
/// anything else in it, or a number `Number` cannot hold.
template <class Number> std::optional<Number> wholeNumber(std::string_view text, int base = 10)
{
    Number value{};
    const char *end = text.data() + text.size();
    if (text.empty() || text.front() == '-') {
        return std::nullopt;
    }
    const auto [last, error] = std::from_chars(text.data(), end, value, base);
    if (error != std::errc() || last != end) {
        return std::nullopt;
    }
    return value;
}

/// Upper-cases ASCII letters and the Latin-1 letters of UTF-8 text; other characters stay.
std::string toUpper(std::string_view text);

/// Equal when the texts differ only in letter case (ASCII and Latin-1 letters).
bool equalsIgnoringCase(std::string_view left, std::string_view right);

/// The byte-order mark that may open UTF-8 files.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

/// True when the bytes are well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

/// Files the program reads are UTF-8 when valid and Windows-1252 otherwise; the result is UTF-8.
std::string decodeFileText(std::string_view bytes);

/// Text converted from UTF-8 to Windows-1252, for stores that hold 8-bit text; characters
/// without a Windows-1252 form become "?".
std::string encodeWindows1252(std::string_view utf8);

/// Text with every byte other than an ASCII letter or digit, "-", ".", "_", "~" or one of `kept`
/// written as "%XX" (upper-case hexadecimal), as a URL carries it; the same in every locale.
std::string percentEncode(std::string_view text, std::string_view kept = {});

/// The character that stands for bytes that are not well-formed UTF-8.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

/// The characters of UTF-8 text; each byte that is not part of a well-formed character becomes
/// kReplacementCharacter, so any bytes give text that can be shown or written as UTF-8.
std::u32string decodeUtf8(std::string_view text);

/// Appends the UTF-8 form of a character.
void appendUtf8(std::string &out, char32_t code);

/// Leading and trailing spaces removed (spaces only, as the program's trim does).
std::string trimSpaces(std::string_view text);

/// Character classes of ASCII alone. Bytes from servers and files are tested with these, not
/// with <cctype>, whose answers for bytes above 127 depend on the locale the program runs in.
inline bool isAsciiDigit(char character)
{
    return character >= '0' && character <= '9';
}
inline bool isAsciiLetterOrDigit(char character)
{
    return isAsciiDigit(character) || (character >= 'A' && character <= 'Z') ||
           (character >= 'a' && character <= 'z');
}
inline char asciiLower(char character)
{
    return character >= 'A' && character <= 'Z' ? static_cast<char>(character - 'A' + 'a')
                                                : character;
}
inline char asciiUpper(char character)
{
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - ('a' - 'A'))
                                                : character;
}

/// Text with its ASCII letters mapped to one case; other bytes stay. Hardware IDs, INF keys
/// and file endings compare this way, the same in every locale.
std::string asciiLower(std::string_view text);
std::string asciiUpper(std::string_view text);

/// Whether `text` begins (ends) with the affix when letters are compared as equalsIgnoringCase
/// compares them.
bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);
bool endsWithIgnoringCase(std::string_view text, std::string_view ending);

/// Blanks of INF, .reg and index lines: spaces and tabs.
inline bool isBlank(char character)
{
    return character == ' ' || character == '\t';
}

/// Leading and trailing blanks removed.
std::string_view trimBlanks(std::string_view text);

} // namespace tollen
