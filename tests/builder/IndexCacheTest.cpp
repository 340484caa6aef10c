#include "builder/IndexCache.h"

#include "TestServers.h"

#include <gtest/gtest.h>
#include <tuple>

namespace tollen::builder {
namespace {

IndexCache awkwardCache()
{
    IndexCache cache;
    cache.tree =
        TreeRecord{2049, 1234567, -5, {{"pci/a b/index.txt", 7, -8}, {"\n", 0, 9}}, 10, 20};
    CachedPackage package;
    package.stamp = {18446744073709551615ULL, -1, -2, 3};
    package.index.lines = "Folder\"a b\"c\"PCI\\X\"\"\"\"\"/a b/c.inf\n\n12:34 \r\n" +
                          std::string("nul\0inside\n", 11);
    package.proof = "\"" + std::string(64, 'a') + "\"5";
    package.index.infFilesRead = 3;
    package.index.idsWithoutBus = 4;
    package.index.skipped = {{"/p q/r.inf", SkipReason::DamagedArchive, "Truncated: 7 bytes"},
                             {"/x", SkipReason::Unreadable, ""}};
    package.index.refused = {
        {"/p q/r.inf", "ROOT\\X\\Y", database::IdPlacementResult::ForbiddenCharacter}};
    cache.packages["/p q/r.zip"] = package;
    cache.packages["/\n"] = CachedPackage{};
    cache.digests["/a b/\n.sys"] = {{1, -2, -3, 4},
                                    {std::string(64, 'b'), 18446744073709551615ULL}};
    return cache;
}

TEST(IndexCache, KeepsEveryByteOfWhatItRecordsAndIgnoresACacheItCannotReadInFull)
{
    testing::TemporaryFolder folder;
    const auto file = folder.path() / "cache";
    EXPECT_EQ(loadIndexCache(file), IndexCache{});
    const IndexCache cache = awkwardCache();
    ASSERT_FALSE(saveIndexCache(file, cache));
    EXPECT_EQ(loadIndexCache(file), cache);

    const std::string whole = testing::readFile(file);
    for (std::size_t cut = 0; cut < whole.size(); cut += 7) {
        testing::writeFile(file, whole.substr(0, cut));
        EXPECT_EQ(loadIndexCache(file), IndexCache{}) << cut;
    }
    // Another version of the format, and a skip reason this version does not know.
    for (const auto &[at, length, replacement] :
         {std::tuple{std::size_t{0}, whole.find('\n'), "tollen-index cache 0"},
          std::tuple{whole.find("12 10:/p q"), std::size_t{2}, "99"}}) {
        testing::writeFile(file, std::string(whole).replace(at, length, replacement));
        EXPECT_EQ(loadIndexCache(file), IndexCache{}) << replacement;
    }
}

} // namespace
} // namespace tollen::builder
