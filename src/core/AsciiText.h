#pragma once
// Text rules of INF files and index paths: case mapping and case-blind comparison touch ASCII
// letters only (asciiLower of one character is core/Text.h's), and blanks are spaces and tabs.

#include "core/Text.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace tollen {

inline char asciiUpper(char character)
{
    return character >= 'a' && character <= 'z' ? static_cast<char>(character - ('a' - 'A'))
                                                : character;
}

inline std::string asciiLower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char character) { return asciiLower(character); });
    return result;
}

inline std::string asciiUpper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char character) { return asciiUpper(character); });
    return result;
}

inline bool endsWithIgnoringAsciiCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() &&
           asciiLower(text.substr(text.size() - ending.size())) == asciiLower(ending);
}

inline bool isBlank(char character)
{
    return character == ' ' || character == '\t';
}

inline std::string_view trimBlanks(std::string_view text)
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
