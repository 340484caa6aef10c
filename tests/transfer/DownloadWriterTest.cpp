#include "TestServers.h"
#include "core/AtomicFileWriter.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

using tollen::testing::patternBytes;
using tollen::testing::readFile;

// Downloads write through a buffer of the writer's own; pieces of every size, smaller and
// larger than the buffer and across its end, arrive in order and whole.
TEST(DownloadWriter, KeepsPiecesOfEverySizeInOrder)
{
    constexpr std::size_t kMiB = 1024 * 1024;
    const std::string data = patternBytes(6 * kMiB);
    tollen::testing::TemporaryFolder folder;
    const auto target = folder.path() / "download.bin";
    AtomicFileWriter writer = AtomicFileWriter::forDownload(target);
    ASSERT_FALSE(writer.open());
    std::size_t position = 0;
    for (const std::size_t size : {std::size_t{255}, kMiB - 300, std::size_t{0}, std::size_t{600},
                                   3 * kMiB, std::size_t{1}, kMiB, std::size_t{1024}}) {
        ASSERT_FALSE(writer.write(std::string_view(data).substr(position, size))) << size;
        position += size;
    }
    EXPECT_FALSE(std::filesystem::exists(target)); // nothing shows before the commit
    ASSERT_FALSE(writer.commit());
    EXPECT_EQ(readFile(target), data.substr(0, position));
}

} // namespace
} // namespace tollen::transfer
