// Transfer routines of the fetch's own, with the window's network settings, and one package
// fetched through them into the fetch folder: an archive the same whether it is taken in memory
// or through a partial file, and a file that is no archive kept as it came either way.

#include "cli/PackageFetch.h"

#include "ArchiveFixtures.h"
#include "TestServers.h"
#include "cli/ConcurrentFetch.h"
#include "cli/TransferRoutinesCopy.h"
#include "ui/Form1Design.h"

#include <gtest/gtest.h>
#include <map>

namespace tollen::cli {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::writeFile;

TEST(TransferRoutinesCopy, ReachesTheServerOfTheWindowsSettingsWithItsLoginAndBasePath)
{
    const testing::TemporaryFolder root;
    writeFile(root.path() / "drivers/V/pkg.zip", "the package");
    const testing::PyFtpServer server(root.path(), "technician", "secret");
    ui::HeadlessForm1 window;
    ui::Form1Controls controls = window.controls();
    ui::applyForm1Design(controls);
    window.Option1.select(ui::kFtpOption);
    window.host.setText(server.host());
    window.path.setText("/drivers");
    window.user.setText("technician");
    window.pass.setText("secret");

    TransferRoutinesCopy transfers(NetworkSettings::of(window, {}));
    std::string received;
    ASSERT_TRUE(
        transfers.files().streamFile("/V/pkg.zip", 0,
                                     [&](std::uint64_t, std::uint64_t, std::string_view bytes) {
                                         received += bytes;
                                         return Error{};
                                     }))
        << transfers.files().lastFailure().reason;
    EXPECT_EQ(received, "the package");
}

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

TEST(ConcurrentFetch, EveryPackageIsToldOnceAndTheOutcomesKeepTheOrderOfThePackages)
{
    const testing::TemporaryFolder root;
    const testing::TemporaryFolder drivers;
    std::vector<PackageToFetch> packages;
    std::uint64_t bytes = 0;
    for (int number = 0; number < 7; ++number) {
        const std::string name = "tool" + std::to_string(number) + ".exe";
        const std::string program(1000 * (number + 1), 'x');
        // The fourth is not on the server.
        if (number != 3) {
            writeFile(root.path() / name, program);
            bytes += program.size();
        }
        packages.push_back({"/" + name, true, "/" + name,
                            FileDigest{sha256Hex(program), program.size()},
                            "tool" + std::to_string(number)});
    }
    std::map<std::size_t, int> told;
    FetchProgress last;
    const std::vector<FetchedPackage> outcomes =
        fetchConcurrently({ui::kHttpOption, "file://" + root.path().string(), "", "", "", {}},
                          drivers.path(), packages, 3,
                          {[&](std::size_t index, const FetchedPackage &) { ++told[index]; },
                           [&](const FetchProgress &progress) { last = progress; }});

    ASSERT_EQ(outcomes.size(), packages.size());
    for (std::size_t index = 0; index < packages.size(); ++index) {
        EXPECT_EQ(told[index], 1);
        EXPECT_EQ(outcomes[index].kind,
                  index == 3 ? FetchedPackage::Kind::Failed : FetchedPackage::Kind::Fetched);
        if (index != 3) {
            EXPECT_EQ(outcomes[index].files.at(0).digest, *packages[index].proof);
        }
    }
    EXPECT_EQ(last.finished, packages.size());
    EXPECT_EQ(last.underWay, 0U);
    EXPECT_EQ(last.packages, packages.size());
    EXPECT_EQ(last.bytes, bytes);
}

} // namespace
} // namespace tollen::cli
