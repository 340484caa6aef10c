#include "transfer/cDirList.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

TEST(DirectoryList, AttributeWordSetsItsNineFlags)
{
    cDirList list;
    const cDirItem &item = list.Add(0x30, {}, {}, DateTime{3.5}, 42, "sub");
    EXPECT_TRUE(item.Directory);
    EXPECT_TRUE(item.Archive);
    for (bool flag : {item.ReadOnly, item.Hidden, item.System, item.Normal, item.Temporary,
                      item.Compressed, item.Offline}) {
        EXPECT_FALSE(flag);
    }
    EXPECT_EQ(item.LastWriteTime.days, 3.5);
    EXPECT_EQ(item.FileSize, 42);

    const cDirItem &every = list.Add(0x19B7, {}, {}, {}, 0, "every");
    for (bool flag : {every.ReadOnly, every.Hidden, every.System, every.Directory, every.Archive,
                      every.Normal, every.Temporary, every.Compressed, every.Offline}) {
        EXPECT_TRUE(flag);
    }
}

} // namespace
} // namespace tollen::transfer
