#include "database/GuessOsName.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tollen::database {
namespace {

TEST(GuessOsName, MatchesWholeDecorationsIgnoringCaseOnly)
{
    const std::pair<const char *, std::optional<std::string_view>> rows[] = {
        {"NtAmd64.6.1", "Windows 7 64-Bit"},
        {"ntx86", "Windows 32-Bit (XP+)"},
        {"NTX86.5.2.1", "Windows Server 2003 32-Bit"},
        // No prefix match, no trimming, nothing for decorations the table lacks.
        {"NTAMD64.6.1.2", std::nullopt},
        {"NT", std::nullopt},
        {"NTX86 ", std::nullopt},
        {"NTARM64", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &[decoration, osName] : rows) {
        EXPECT_EQ(GuessOsName(decoration), osName) << '"' << decoration << '"';
    }
}

} // namespace
} // namespace tollen::database
