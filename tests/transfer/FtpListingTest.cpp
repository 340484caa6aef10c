#include "transfer/FtpListing.h"

#include "transfer/cFTP.h"

#include <gtest/gtest.h>
#include <string>

namespace tollen::transfer {
namespace {

// 2024-06-15 12:00:00 UTC: "now" for lines that carry no year.
constexpr std::int64_t kNow = 1718452800;
constexpr std::int64_t kIntervalsPerSecond = 10000000;
constexpr std::int64_t kEpochDifference = 11644473600;

std::int64_t fileTimeOf(std::int64_t unixSeconds)
{
    return (unixSeconds + kEpochDifference) * kIntervalsPerSecond;
}

struct ListingRow
{
    const char *line;
    const char *name;
    std::uint64_t size;
    bool directory;
    std::int64_t unixSeconds;
};

TEST(ListingLine, GivesNameSizeKindAndTime)
{
    for (const ListingRow &row : {
             // Unix, this year's entry with a clock: 2024-03-05 14:30 UTC.
             ListingRow{"-rw-r--r--    1 ftp      ftp          1234 Mar 05 14:30 index.txt",
                        "index.txt", 1234, false, 1709649000},
             // An older entry with a year, a name with spaces kept whole.
             ListingRow{"-rw-r--r--   1 owner group  5000000000 Dec 31  2019 driver pack v2.zip",
                        "driver pack v2.zip", 5000000000ULL, false, 1577750400},
             // A clock date in the future of "now" belongs to last year: 2023-12-24 08:00.
             ListingRow{"-rw-r--r--   1 a b 10 Dec 24 08:00 old.txt", "old.txt", 10, false,
                        1703404800},
             // ACL mark after the permissions, and a missing group column.
             ListingRow{"-rw-r--r--+ 1 owner 77 Jun  1 09:05 acl.txt", "acl.txt", 77, false,
                        1717232700},
             ListingRow{"lrwxrwxrwx   1 root root 7 Feb 29  2020 latest -> v2.zip", "latest", 7,
                        false, 1582934400},
             // A numeric owner and a group named like a month, before a size that could be a day.
             ListingRow{"-rw-r--r--    1 1000     may            12 Mar 05 14:30 notes.txt",
                        "notes.txt", 12, false, 1709649000},
             ListingRow{"drwxr-xr-x    2 0        dec             7 Jan  2  2023 DIRSTRUCT",
                        "DIRSTRUCT", 7, true, 1672617600},
             // IIS forms: two-digit year with AM/PM, four-digit year, 24-hour clock, <DIR>.
             ListingRow{"03-05-24  02:30PM                 1234 index.txt", "index.txt", 1234,
                        false, 1709649000},
             ListingRow{"12-31-2019  12:00AM       <DIR>          Old Drivers", "Old Drivers", 0,
                        true, 1577750400},
             ListingRow{"06-01-24  09:05                 77 my file.inf", "my file.inf", 77, false,
                        1717232700},
             ListingRow{"01-01-99  12:15PM                  5 y2k.txt", "y2k.txt", 5, false,
                        915192900},
             // IIS set to show the year first.
             ListingRow{"2019/12/31  12:00AM       <DIR>          Old Drivers", "Old Drivers", 0,
                        true, 1577750400},
         }) {
        SCOPED_TRACE(row.line);
        const auto entries = parseListing(row.line, kNow);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].name, row.name);
        EXPECT_EQ(entries[0].size, row.size);
        EXPECT_EQ(entries[0].directory, row.directory);
        EXPECT_EQ(entries[0].lastWrite, fileTimeOf(row.unixSeconds));
    }
}

TEST(ListingText, SkipsTotalLinesAndUnreadableLinesAndKeepsServerOrder)
{
    const auto entries = parseListing("total 12\r\n"
                                      "-rw-r--r-- 1 a b 3 Jan  1  2020 b.txt\r\n"
                                      "this line is not a listing line\r\n"
                                      "drwxr-xr-x 2 a b 4096 Jan  1  2020 .\r\n"
                                      // A year past any file time: skipped, not overflowed.
                                      "-rw-r--r-- 1 a b 5 Dec 31  201912 far.txt\r\n"
                                      "-rw-r--r-- 1 a b 1 Jan  1  2020 a.txt\n",
                                      kNow);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "b.txt");
    EXPECT_EQ(entries[1].name, ".");
    EXPECT_EQ(entries[2].name, "a.txt");
}

TEST(ListingPattern, MatchesStarsAndSingleCharacterWildcards)
{
    struct Row
    {
        const char *pattern;
        const char *name;
        bool matches;
    };
    for (const Row &row :
         {Row{"*.txt", "index.txt", true}, Row{"*.txt", "index.txt.bak", false},
          Row{"index?file.txt", "index file.txt", true},
          Row{"index?file.txt", "indexfile.txt", false}, Row{"a*b*c", "aXXbYYc", true},
          Row{"a*b*c", "aXXbYY", false}, Row{"INDEX.TXT", "index.txt", false},
          // Names holding the wildcard characters themselves.
          Row{"*", "*name", true}, Row{"a*", "a*b", true}, Row{"*b", "**b", true},
          Row{"?", "*", true}}) {
        EXPECT_EQ(matchesPattern(row.pattern, row.name), row.matches)
            << row.pattern << " / " << row.name;
    }
}

} // namespace
} // namespace tollen::transfer
