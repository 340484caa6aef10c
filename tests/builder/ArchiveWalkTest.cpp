#include "builder/ArchiveWalk.h"

#include "ArchiveFixtures.h"
#include "TestServers.h"

#include <cstring>
#include <gtest/gtest.h>

namespace tollen::builder {
namespace {

struct RecordingVisitor final : ArchiveVisitor
{
    void visitInf(const std::string &memberPath, std::string_view bytes) override
    {
        visited.emplace_back(memberPath, bytes.size());
    }
    void skipInf(const std::string &memberPath, SkipReason reason, const std::string &) override
    {
        skipped.emplace_back(memberPath, reason);
    }

    std::vector<std::pair<std::string, std::size_t>> visited;
    std::vector<std::pair<std::string, SkipReason>> skipped;
};

/// Overwrites the uncompressed size every zip header records for its members.
std::string withClaimedSize(std::string zip, std::uint32_t size)
{
    const auto patch = [&](std::string_view signature, std::size_t offset) {
        for (std::size_t at = zip.find(signature); at != std::string::npos;
             at = zip.find(signature, at + 1)) {
            for (std::size_t byte = 0; byte < 4; ++byte) {
                zip[at + offset + byte] = static_cast<char>((size >> (8 * byte)) & 0xFF);
            }
        }
    };
    patch(std::string_view("PK\x03\x04", 4), 22);
    patch(std::string_view("PK\x01\x02", 4), 24);
    return zip;
}

TEST(ArchiveWalk, SkipsAMemberThatClaimsOrInflatesPastTheLimit)
{
    testing::TemporaryFolder folder;
    const auto file = folder.path() / "bomb.zip";
    const std::string zeros(5000, ';');
    const std::string zip =
        testing::makeArchive(testing::ArchiveFormat::Zip, {{"a.inf", zeros}, {"b.inf", "[x]"}});

    // Without its central directory a zip is read member by member from its start.
    std::string streamed = testing::makeArchive(testing::ArchiveFormat::Zip,
                                                {{"a.inf", zeros, true}, {"b.inf", "[x]", true}});
    streamed.resize(streamed.find(std::string_view("PK\x01\x02", 4)));

    using Visit = std::pair<std::string, std::size_t>;
    struct Row
    {
        const char *what;
        std::string bytes;
        std::uint64_t limit;
        std::vector<std::pair<std::string, SkipReason>> skipped;
        std::vector<Visit> visited;
        ArchiveOutcome outcome = ArchiveOutcome::Read;
    };
    const Visit small{"b.inf", 3};
    const Row rows[] = {
        {"within the limit", zip, 5000, {}, {{"a.inf", 5000}, small}},
        {"claims past the limit",
         withClaimedSize(zip, 300U * 1024 * 1024),
         kLargestInfFile,
         {{"a.inf", SkipReason::TooLarge}, {"b.inf", SkipReason::TooLarge}},
         {}},
        {"larger than the limit", zip, 4999, {{"a.inf", SkipReason::TooLarge}}, {small}},
        // A member that cannot be unpacked (it inflates past the size it claims) is skipped.
        {"claims little, inflates more",
         withClaimedSize(zip, 3),
         1000,
         {{"a.inf", SkipReason::MemberUnreadable}},
         {small}},
        // A zip read from its start knows no sizes until each member's data has been read.
        // (It then breaks off where the directory was cut away.)
        {"no size claimed, inflates past the limit",
         streamed,
         1000,
         {{"a.inf", SkipReason::TooLarge}},
         {small},
         ArchiveOutcome::Damaged},
    };
    for (const Row &row : rows) {
        testing::writeFile(file, row.bytes);
        RecordingVisitor visitor;
        const ArchiveWalkResult result = walkArchive(file, visitor, row.limit);
        EXPECT_EQ(result.outcome, row.outcome) << row.what << ": " << result.message;
        EXPECT_EQ(visitor.skipped, row.skipped) << row.what;
        EXPECT_EQ(visitor.visited, row.visited) << row.what;
    }
}

TEST(ArchiveWalk, MemberPathsUseSlashesAndNeverLeaveTheArchive)
{
    struct Row
    {
        const char *path;
        const char *safe;
    };
    const Row rows[] = {
        {"a\\b\\c.inf", "a/b/c.inf"}, {"./a//b/./c.inf", "a/b/c.inf"},
        {"/etc/a.inf", ""},           {"../a.inf", ""},
        {"a/../b.inf", ""},           {"C:\\a.inf", ""},
        {"c:a.inf", "c:a.inf"},       {"a/C:/b.inf", "a/C:/b.inf"},
        {"...inf", "...inf"},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(safeMemberPath(row.path), row.safe) << row.path;
    }
}

} // namespace
} // namespace tollen::builder
