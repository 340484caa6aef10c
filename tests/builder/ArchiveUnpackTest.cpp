#include "builder/ArchiveUnpack.h"

#include "ArchiveFixtures.h"
#include "TestServers.h"
#include "core/Sha256.h"

#include <gtest/gtest.h>
#include <tuple>

namespace tollen::builder {
namespace {

namespace fs = std::filesystem;
using testing::ArchiveFormat;
using testing::ArchiveMember;
using Kind = ArchiveUnpacking::Kind;

/// Sets the Unix mode the central directory of a zip records for its first member: a link's
/// target is its data.
std::string withMode(std::string zip, std::uint16_t mode)
{
    const std::size_t at = zip.find(std::string_view("PK\x01\x02", 4));
    zip[at + 40] = static_cast<char>(mode & 0xFF);
    zip[at + 41] = static_cast<char>(mode >> 8);
    return zip;
}

TEST(ArchiveUnpack, WritesEveryMemberBelowItsFolderWithItsDigest)
{
    // The member's name, the path it gets, its bytes. libarchive's 7-Zip writer takes ASCII
    // names only in the tests' locale.
    using Member = std::tuple<std::string, std::string, std::string>;
    const std::vector<Member> zip = {
        {"./Größe ü/a b.cat", "Größe ü/a b.cat", "cat"},
        {"PRO1000\\Win64\\e1000.inf", "PRO1000/Win64/e1000.inf", "[V]"},
        {"PRO1000/Win64/e1000.sys", "PRO1000/Win64/e1000.sys", std::string(70000, 's')}};
    std::vector<Member> sevenZip = zip;
    sevenZip[0] = {"./Big dir/a b.cat", "Big dir/a b.cat", "c"};
    for (const auto &[format, members] :
         {std::pair{ArchiveFormat::Zip, zip}, std::pair{ArchiveFormat::SevenZip, sevenZip}}) {
        std::vector<ArchiveMember> stored;
        for (const auto &[name, path, bytes] : members) {
            stored.push_back({name, bytes});
        }
        testing::TemporaryFolder work;
        testing::writeFile(work.path() / "pkg", testing::makeArchive(format, stored));
        const ArchiveUnpacking unpacked = unpackArchive(work.path() / "pkg", work.path() / "out");
        ASSERT_EQ(unpacked.kind, Kind::Unpacked) << unpacked.problem;
        ASSERT_EQ(unpacked.files.size(), members.size());
        // Sorted by path, each file's bytes as the archive holds them.
        for (std::size_t index = 0; index < members.size(); ++index) {
            const auto &[name, path, bytes] = members[index];
            EXPECT_EQ(unpacked.files[index].path, path);
            EXPECT_EQ(unpacked.files[index].digest, (FileDigest{sha256Hex(bytes), bytes.size()}));
            EXPECT_EQ(testing::readFile(work.path() / "out" / path), bytes);
        }
    }
}

TEST(ArchiveUnpack, RefusesHostileArchivesAndLeavesNothing)
{
    const auto zip = [](std::vector<ArchiveMember> members) {
        return testing::makeArchive(ArchiveFormat::Zip, members);
    };
    const std::string big(5000, 'x');
    struct Row
    {
        const char *what;
        std::string bytes;
        Kind kind;
        UnpackLimits limits = {};
    };
    const std::vector<Row> rows = {
        {"a name up", zip({{"ok.inf", "x"}, {"../evil.inf", "x"}}), Kind::Refused},
        {"a name up inside", zip({{"a/../../evil.inf", "x"}}), Kind::Refused},
        {"an absolute name", zip({{"/tmp/evil.inf", "x"}}), Kind::Refused},
        {"a drive", zip({{"C:\\evil.inf", "x"}}), Kind::Refused},
        {"a link", withMode(zip({{"link", "/etc"}, {"link/passwd", "x"}}), 0120777), Kind::Refused},
        {"a device file", withMode(zip({{"tty", "x"}}), 020644), Kind::Refused},
        {"a name twice", zip({{"a.inf", "1"}, {"a.inf", "2"}}), Kind::Refused},
        {"names one in Windows", zip({{"A.inf", "1"}, {"a.inf", "2"}}), Kind::Refused},
        {"a name Windows cannot hold", zip({{"a:b.inf", "1"}}), Kind::Refused},
        {"a file and a folder of one name", zip({{"a", "1"}, {"a/b", "2"}}), Kind::Refused},
        {"a size past the limit", zip({{"a.inf", big}}), Kind::Refused, {10, 4096}},
        {"a bomb past the limit", zip({{"a.inf", big, true}}), Kind::Refused, {10, 4096}},
        {"too many members", zip({{"a", "1"}, {"b", "2"}, {"c", "3"}}), Kind::Refused, {2, 4096}},
        {"a broken archive", zip({{"a.inf", big}}).substr(0, 60), Kind::Damaged},
        {"an installer", "MZ" + big, Kind::NotAnArchive},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        testing::TemporaryFolder work;
        testing::writeFile(work.path() / "pkg.zip", row.bytes);
        const ArchiveUnpacking unpacked =
            unpackArchive(work.path() / "pkg.zip", work.path() / "out", row.limits);
        EXPECT_EQ(unpacked.kind, row.kind);
        EXPECT_TRUE(unpacked.files.empty());
        EXPECT_FALSE(unpacked.problem.empty());
        // Nothing beside the archive, inside or outside the folder.
        EXPECT_EQ(testing::fileNames(work.path()), std::vector<std::string>{"pkg.zip"});
    }
}

} // namespace
} // namespace tollen::builder
