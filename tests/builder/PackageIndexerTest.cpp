#include "builder/PackageIndexer.h"

#include "ArchiveFixtures.h"
#include "TestServers.h"

#include <gtest/gtest.h>

namespace tollen::builder {
namespace {

namespace fs = std::filesystem;
using testing::ArchiveFormat;
using testing::ArchiveMember;
using testing::writeFile;
using Lines = std::vector<std::string>;

/// An INF with one model line per ID, for archive tests.
std::string simpleInf(const std::string &ids)
{
    return "[Version]\r\nClass=Net\r\nDriverVer=01/02/2003,1.2.3.4\r\n"
           "[Manufacturer]\r\nAcme=Models\r\n[Models]\r\nAdapter = Install, " +
           ids + "\r\n";
}

std::string archivedLine(const std::string &id, const std::string &remotePath)
{
    return "Archived\"Acme\"Adapter\"" + id + "\"Net\"\"1.2.3.4\"01/02/2003\"" + remotePath;
}

Lines linesOf(const PackageIndex &index)
{
    Lines lines;
    forEachLine(index.lines, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::vector<SkipReason> reasons(const PackageIndex &index)
{
    std::vector<SkipReason> found;
    for (const SkippedFile &skipped : index.skipped) {
        found.push_back(skipped.reason);
    }
    return found;
}

class PackageIndexerTest : public ::testing::Test
{
protected:
    PackageIndex index(const std::string &remotePath, const std::string &bytes)
    {
        const fs::path file = m_folder.path() / remotePath.substr(1);
        fs::create_directories(file.parent_path());
        writeFile(file, bytes);
        return indexPackage(file, remotePath, packageKindOf(remotePath).value());
    }

    testing::TemporaryFolder m_folder;
};

TEST_F(PackageIndexerTest, ALooseInfGivesOneCleanLinePerPlacedIdOnce)
{
    const PackageIndex package = index("/drivers/net/acme.inf", R"([Version]
Class=Net
DriverVer=06/21/2006,10.0.1.2
[Manufacturer]
"Acme ""Best"" Devices"=Acme,NTamd64
[Acme.NTamd64]
"The ""Fast"" One" = Install, PCI\VEN_1234&DEV_0001, *PNP0A03, ROOT\X\Y, pci\ven_1234&dev_0001
Second = Install, PCI\VEN_1234&DEV_0001, *PNP0A03, ROOT\X\Y
)");
    EXPECT_EQ(
        linesOf(package),
        (Lines{
            R"(Folder"Acme 'Best' Devices"Second"PCI\VEN_1234&DEV_0001"Net"NTamd64"10.0.1.2"06/21/2006"/drivers/net/acme.inf)",
            R"(Folder"Acme 'Best' Devices"The 'Fast' One"PCI\VEN_1234&DEV_0001"Net"NTamd64"10.0.1.2"06/21/2006"/drivers/net/acme.inf)",
        }));
    EXPECT_EQ(package.lineCount(), 2U);
    EXPECT_EQ(package.infFilesRead, 1U);
    EXPECT_EQ(package.idsWithoutBus, 1U);
    EXPECT_EQ(package.refused,
              (std::vector<RefusedId>{{"/drivers/net/acme.inf", R"(ROOT\X\Y)",
                                       database::IdPlacementResult::ForbiddenCharacter}}));
}

TEST_F(PackageIndexerTest, ReadsArchivesMadeByTheUsualTools)
{
    const fs::path source = m_folder.path() / "source";
    fs::create_directories(source / "Drivers" / "Win64");
    writeFile(source / "Drivers" / "Win64" / "a.inf", simpleInf("PCI\\VEN_1"));
    const fs::path zip = m_folder.path() / "made.zip";
    const fs::path sevenZip = m_folder.path() / "made.7z";
    ASSERT_EQ(testing::runProgram({"/usr/bin/zip", "-q", "-r", zip, source}), 0);
    ASSERT_EQ(
        testing::runProgram({"/usr/bin/7z", "a", "-bd", "-bso0", sevenZip, source / "Drivers"}), 0);
    // zip keeps the path it was given, less its leading "/".
    const std::string zipped = (source / "Drivers/Win64/a.inf").string().substr(1);
    EXPECT_EQ(linesOf(indexPackage(zip, "/made.zip", PackageKind::Archive)),
              Lines{archivedLine("PCI\\VEN_1", "/made.zip/" + zipped)});
    EXPECT_EQ(linesOf(indexPackage(sevenZip, "/made.7z", PackageKind::Archive)),
              Lines{archivedLine("PCI\\VEN_1", "/made.7z/Drivers/Win64/a.inf")});
}

TEST_F(PackageIndexerTest, SkipsHostileInfFilesWithTheirReasonAndReadsWhatWindowsWould)
{
    const std::string model = "[Manufacturer]\r\nM=S\r\n[S]\r\nD=i,PCI\\VEN_1\r\n";
    std::string tooMany = "[Manufacturer]\r\nM=S\r\n[S]\r\nD=i";
    for (std::size_t id = 0; id <= kMostLinesPerInf; ++id) {
        tooMany += ",PCI\\" + std::to_string(id);
    }
    // A models section named by 100 copies of a 1 MB string: 100 MB of text in no line at all.
    std::string expanding = "[Manufacturer]\r\nM=";
    for (int copy = 0; copy < 100; ++copy) {
        expanding += "%a%";
    }
    // A models section without IDs, named by more manufacturers than the reader may note.
    std::string manufacturers = "[Manufacturer]\r\n";
    for (int maker = 0; maker < 500'000; ++maker) {
        manufacturers += "M" + std::to_string(maker) + "=S\r\n";
    }
    manufacturers += "[S]\r\nD=i\r\n";
    expanding += "\r\n" + model + "[Strings]\r\na=\"" + std::string(1024 * 1024, 'x') + "\"\r\n";
    struct Row
    {
        const char *what;
        std::string bytes;
        SkipReason skipped;
    };
    const Row rows[] = {
        {"an unclosed section name", "[Manufacturer\r\nM=S\r\n[S]\r\nD=i,PCI\\VEN_1\r\n",
         SkipReason::UnclosedSectionName},
        {"no model lines", "[Manufacturer]\r\nM=S\r\n", SkipReason::NoModelLines},
        {"more lines than one file may give", tooMany, SkipReason::TooManyLines},
        {"strings that expand past the bytes one file may give", expanding,
         SkipReason::TooManyLines},
        {"one models section for too many manufacturers", manufacturers, SkipReason::TooManyLines},
    };
    for (const Row &row : rows) {
        const PackageIndex package = index("/hostile.inf", row.bytes);
        EXPECT_EQ(reasons(package), std::vector<SkipReason>{row.skipped}) << row.what;
        EXPECT_TRUE(package.lines.empty()) << row.what;
        EXPECT_EQ(package.infFilesRead, 0U) << row.what;
    }
}

TEST_F(PackageIndexerTest, ReadsInfFilesInsideZipAnd7zArchivesButNotNestedOrUnsafeOnes)
{
    const std::vector<ArchiveMember> members = {
        {"PRO1000\\Winx64\\e1g.inf", simpleInf("PCI\\VEN_8086&DEV_100E")},
        {"./PRO1000/./Win32//E1G.INF", simpleInf("PCI\\VEN_8086&DEV_100F")},
        {"../up.inf", simpleInf("PCI\\VEN_UP")},
        {"PRO1000/inf.inf.bak", simpleInf("PCI\\VEN_BAD")},
        {"nested.zip",
         testing::makeArchive(ArchiveFormat::Zip, {{"inner.inf", simpleInf("PCI\\VEN_DEAD")}})},
    };
    for (const auto &[format, name] : {std::pair{ArchiveFormat::Zip, "/packs/lan.zip"},
                                       {ArchiveFormat::SevenZip, "/packs/LAN.7Z"}}) {
        const std::string archive = name;
        const PackageIndex package = index(archive, testing::makeArchive(format, members));
        EXPECT_EQ(
            linesOf(package),
            (Lines{archivedLine("PCI\\VEN_8086&DEV_100E", archive + "/PRO1000/Winx64/e1g.inf"),
                   archivedLine("PCI\\VEN_8086&DEV_100F", archive + "/PRO1000/Win32/E1G.INF")}))
            << archive;
        EXPECT_EQ(package.infFilesRead, 2U) << archive;
        EXPECT_EQ(reasons(package), std::vector<SkipReason>{SkipReason::UnsafeMemberPath})
            << archive;
    }
}

TEST_F(PackageIndexerTest, ReadsASelfExtractingZipAndSkipsOtherProgramsSilently)
{
    const PackageIndex sfx =
        index("/setup.exe", testing::makeSelfExtractingZip({{"x/a.inf", simpleInf("PCI\\VEN_1")}}));
    EXPECT_EQ(linesOf(sfx), (Lines{archivedLine("PCI\\VEN_1", "/setup.exe/x/a.inf")}));

    std::string program = "MZ\x90";
    program.resize(64 * 1024, '\x90');
    EXPECT_EQ(index("/tool.EXE", program), PackageIndex{});
}

TEST_F(PackageIndexerTest, ABrokenArchiveGivesNoLinesAtAll)
{
    std::vector<ArchiveMember> members;
    for (int number = 0; number < 20; ++number) {
        members.push_back(
            {"d" + std::to_string(number) + ".inf",
             simpleInf("PCI\\VEN_" + std::to_string(number)) + std::string(4000, ';')});
    }
    for (const auto &[format, name] :
         {std::pair{ArchiveFormat::Zip, "/cut.zip"}, {ArchiveFormat::SevenZip, "/cut.7z"}}) {
        const std::string whole = testing::makeArchive(format, members);
        const PackageIndex package = index(name, whole.substr(0, whole.size() / 2));
        EXPECT_TRUE(package.lines.empty()) << name;
        EXPECT_EQ(package.infFilesRead, 0U) << name;
        EXPECT_EQ(reasons(package), std::vector<SkipReason>{SkipReason::DamagedArchive}) << name;
    }
}

} // namespace
} // namespace tollen::builder
