#pragma once
// The main window's text routines: the text after or before the first, or before the last,
// occurrence of a one-character separator. Characters compare exactly (letter case counts).

#include <string>

namespace tollen {

/// The characters after the first `separator`; the whole text when it does not occur.
std::string TextAfter(const std::string &text, char separator);

/// The characters before the first `separator`; the whole text when it does not occur.
std::string TextBefore(const std::string &text, char separator);

/// The characters before the last `separator`, where the text's final character is never
/// examined: "VEN_1&" stays "VEN_1&". The whole text when no occurrence is found.
std::string TextBeforeLast(const std::string &text, char separator);

} // namespace tollen
