#pragma once
// The program's own reader of raw FTP LIST output. Servers answer LIST in the Unix "ls -l" form
// (with or without a "total" line, ACL marks, a missing group column, symbolic links) or in
// the DOS form of IIS (two- or four-digit years, AM/PM or 24-hour times, "<DIR>"); lines in
// neither form are skipped.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tollen::transfer {

struct ListingEntry
{
    std::string name;
    std::uint64_t size = 0;
    bool directory = false;
    /// Last write time as the server gave it, read as UTC: 100-nanosecond intervals since
    /// 1601-01-01.
    std::int64_t lastWrite = 0;
};

/// The entries of a LIST answer in server order. Unix lines without a year are placed in the
/// twelve months up to a day after `nowUnixSeconds`.
std::vector<ListingEntry> parseListing(std::string_view text, std::int64_t nowUnixSeconds);

/// True when `name` matches `pattern`, where "*" stands for any run of characters and "?" for
/// exactly one. Letter case counts, as it does on the servers.
bool matchesPattern(std::string_view pattern, std::string_view name);

} // namespace tollen::transfer
