#pragma once
// Text for a terminal or a tab-separated stream. Device names, index files and server replies
// come from outside: a control character in them could move the cursor, recolour the terminal
// or split a line of a table, so it is replaced before anything is printed.

#include <cstddef>
#include <string>
#include <string_view>

namespace tollen::cli {

/// The text with tabs, carriage returns and line feeds as spaces, every other control character
/// and every byte that is not well-formed UTF-8 as U+FFFD.
std::string printable(std::string_view text);

/// The columns a printable text takes on a terminal: wide East Asian characters and emoji take
/// two, combining marks none, every other character one.
std::size_t displayWidth(std::string_view text);

} // namespace tollen::cli
