#include "cli/BuildReport.h"

#include <gtest/gtest.h>
#include <sstream>

namespace tollen::cli {
namespace {

TEST(BuildReport, DrawsOneProgressLineThatKeepsThePathsEndAndClearsItBeforeAList)
{
    std::ostringstream out;
    std::ostringstream terminal;
    BuildReport report(out, terminal, ReportOptions{true, true, 21});
    report.packageStarted(3, 12, "/drivers/vendor/\xC3\xA9t\xC3\xA9/net.inf", false);
    // 20 characters at most: the start of the text gives way to "…".
    EXPECT_EQ(terminal.str(), "\r\x1b[K\xE2\x80\xA6/vendor/\xC3\xA9t\xC3\xA9/net.inf");
    terminal.str("");
    // Drawn at most ten times a second.
    report.packageStarted(4, 12, "/b.inf", true);
    EXPECT_EQ(terminal.str(), "");

    report.idRefused({"/a.inf", "PCI\\..", database::IdPlacementResult::DotPart});
    EXPECT_EQ(terminal.str(), "\r\x1b[K");
    EXPECT_EQ(out.str(), "refused PCI\\.. in /a.inf: a bus or piece that is . or ..\n");
    report.fileSkipped({"/x.zip", builder::SkipReason::DamagedArchive, "Truncated input file"});
    EXPECT_EQ(out.str().substr(out.str().find('\n') + 1),
              "skipped /x.zip: the archive cannot be read (Truncated input file)\n");
    report.finish();
    EXPECT_EQ(terminal.str(), "\r\x1b[K");
}

TEST(BuildReport, NamesFromPackagesCannotSteerTheTerminal)
{
    std::ostringstream out;
    std::ostringstream terminal;
    BuildReport report(out, terminal, ReportOptions{true, true, 200});
    report.packageStarted(1, 2, "/evil\x1b]0;owned\x07.inf", false);
    EXPECT_EQ(terminal.str(), "\r\x1b[K1/2 /evil\\x1B]0;owned\\x07.inf");
    report.idRefused({"/a\tb.inf",
                      "PCI\\\x1b[2J\xC2\x9B"
                      "31m\x7F",
                      database::IdPlacementResult::ForbiddenCharacter});
    report.fileSkipped({"/x.zip/\r.inf", builder::SkipReason::MemberUnreadable, "bad \x1b[0m"});
    // Other characters, such as an accented letter, stay as they are.
    report.fileSkipped({"/\xC3\xA9.inf", builder::SkipReason::NoModelLines, ""});
    EXPECT_EQ(out.str(),
              "refused PCI\\\\x1B[2J\\u009B31m\\x7F in /a\\x09b.inf: a bus or piece with a "
              "control character or one of / \\ < > : \" | ? *\n"
              "skipped /x.zip/\\x0D.inf: cannot be unpacked (bad \\x1B[0m)\n"
              "skipped /\xC3\xA9.inf: no model lines\n");
}

} // namespace
} // namespace tollen::cli
