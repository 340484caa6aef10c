#pragma once
// The platform decoration table: the operating system an INF section decoration such as
// "NTAMD64.6.1" stands for, shown in the results list's "OS (Guess)" column.

#include <optional>
#include <string_view>

namespace tollen::database {

/// The operating-system text of a decoration, matched as a whole text ignoring letter case
/// (nothing is trimmed, no prefix is tried); nullopt when the table has no row for it, and the
/// caller then shows the decoration as it was read.
std::optional<std::string_view> GuessOsName(std::string_view decoration);

} // namespace tollen::database
