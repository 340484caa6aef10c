#include "database/GuessOsName.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tollen::database {
namespace {

TEST(GuessOsName, MatchesWholeDecorationsIgnoringCaseOnly)
{
    struct Row
    {
        const char *decoration;
        std::optional<std::string> osName;
    };
    const Row rows[] = {
        {"NTAMD64.6.1", "Windows 7 64-Bit"},
        {"ntamd64.6.1", "Windows 7 64-Bit"},
        {"NtAmd64.6.1", "Windows 7 64-Bit"},
        // The first row names a server, like the row of NTX86.5.2.1.
        {"NTX86.5.1.1", "Windows Server 2003 32-Bit"},
        {"NTX86.5.2.1", "Windows Server 2003 32-Bit"},
        {"NT.6", "Windows 32-Bit (Vista+)"},
        {"NTAMD64.6", "Windows 64-Bit (Vista+)"},
        {"NTAMD64", "Windows 64-Bit (XP+)"},
        {"NTX86", "Windows 32-Bit (XP+)"},
        {"NTIA64", "Windows for Itanium 64 (2000/XP)"},
        {"NTAMD64.6.3", "Windows 8.1 64-Bit"},
        {"NTAMD64.6.3.1", "Windows Server 2012 R2 64-Bit"},
        {"NTX86.6.3", "Windows 8.1 32-Bit"},
        {"NTX86.6.0", "Vista 32-Bit"},
        // No row: no prefix match, no trimming, nothing for versions the table lacks.
        {"NTAMD64.6.1.2", std::nullopt},
        {"NTARM64", std::nullopt},
        {"NTx86.10.0", std::nullopt},
        {"NT", std::nullopt},
        {"NTIA64.5.1", std::nullopt},
        {"NTAMD64.5.1.1", std::nullopt},
        {"NTX86.5.0", std::nullopt},
        {"NTX86 ", std::nullopt},
        {" NTX86", std::nullopt},
        {"", std::nullopt},
    };
    for (const Row &row : rows) {
        const auto osName = GuessOsName(row.decoration);
        EXPECT_EQ(osName ? std::optional<std::string>(*osName) : std::nullopt, row.osName)
            << '"' << row.decoration << '"';
    }
}

} // namespace
} // namespace tollen::database
