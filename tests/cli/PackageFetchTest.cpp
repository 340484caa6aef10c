// One package fetched into the fetch folder over a file: tree, through transfer routines of the
// fetch's own: an archive the same whether it is taken in memory or through a partial file, and
// a file that is no archive kept as it came either way.

#include "cli/PackageFetch.h"

#include "ArchiveFixtures.h"
#include "TestServers.h"
#include "cli/TransferRoutinesCopy.h"

#include <gtest/gtest.h>

namespace tollen::cli {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

TEST(PackageFetch, AnArchiveInMemoryOrThroughAPartAndAFileThatIsNoArchiveArriveTheSame)
{
    const testing::TemporaryFolder root;
    const std::string inf = "[Version]\r\nClass=Net\r\n";
    const std::string driver = testing::patternBytes(200'000);
    const std::string zip = testing::makeArchive(
        testing::ArchiveFormat::Zip, {{"driver.inf", inf}, {"x64\\driver.sys", driver}});
    const std::string program = "MZ: an installer, which nothing unpacks";
    writeFile(root.path() / "V/pkg.zip", zip);
    writeFile(root.path() / "V/setup.exe", program);
    TransferRoutinesCopy transfers(
        {ui::kHttpOption, "file://" + root.path().string(), "", "", "", {}});

    for (const std::uint64_t inMemory :
         {PackageFetcher::kMostArchiveBytesInMemory, std::uint64_t{0}}) {
        SCOPED_TRACE(inMemory);
        const testing::TemporaryFolder drivers;
        PackageFetcher fetcher(transfers.files(), drivers.path(), inMemory);
        const FetchedPackage unpacked =
            fetcher.fetch({"/V/pkg.zip", true, "/V/pkg.zip/driver.inf",
                           FileDigest{sha256Hex(zip), zip.size()}, "pkg"},
                          [](std::uint64_t, std::uint64_t) {});
        ASSERT_EQ(unpacked.kind, FetchedPackage::Kind::Fetched) << unpacked.reason;
        ASSERT_EQ(unpacked.files.size(), 2U);
        EXPECT_EQ(unpacked.files[1].path, "x64/driver.sys");
        EXPECT_EQ(unpacked.files[1].digest, (FileDigest{sha256Hex(driver), driver.size()}));
        EXPECT_EQ(readFile(drivers.path() / "pkg/x64/driver.sys"), driver);

        const FetchedPackage kept =
            fetcher.fetch({"/V/setup.exe", true, "/V/setup.exe",
                           FileDigest{sha256Hex(program), program.size()}, "setup"},
                          [](std::uint64_t, std::uint64_t) {});
        ASSERT_EQ(kept.kind, FetchedPackage::Kind::Fetched) << kept.reason;
        EXPECT_EQ(kept.reason, "kept as it came: not an archive");
        EXPECT_EQ(readFile(drivers.path() / "setup/setup.exe"), program);
        // Nothing of either is left beside the packages but their receipts.
        EXPECT_EQ(testing::fileNames(drivers.path() / ".tollen-fetch"),
                  (std::vector<std::string>{"pkg.txt", "setup.txt"}));
    }
}

} // namespace
} // namespace tollen::cli
