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

TEST(DirectoryList, ItemsAreFoundByPositionFromOneOrByNameInAnyCase)
{
    cDirList list;
    for (const char *name : {"a.txt", "B.txt", "c.txt", "b.TXT"}) {
        list.Add(0x80, {}, {}, {}, 1, name);
    }
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Item(std::int32_t{1})->Filename, "a.txt");
    EXPECT_EQ(list.Item(std::int16_t{3})->Filename, "c.txt");
    EXPECT_EQ(list.Item(std::string("C.TXT"))->Filename, "c.txt");
    // A name that differs only in case keeps its place; by name the earlier entry answers.
    EXPECT_EQ(list.Item(std::int32_t{4})->Filename, "b.TXT");
    EXPECT_EQ(list.Item(std::string("b.txt"))->Filename, "B.txt");
    EXPECT_EQ(list.Item(std::int32_t{0}), nullptr);
    EXPECT_EQ(list.Item(std::int32_t{5}), nullptr);
    EXPECT_EQ(list.Item(std::string("missing")), nullptr);
    EXPECT_EQ(list.Item(TaggedValue{}), nullptr);

    std::vector<std::string> names;
    for (const auto &item : list) {
        names.push_back(item->Filename);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a.txt", "B.txt", "c.txt", "b.TXT"}));
}

TEST(DirectoryList, ClearEmptiesListsOfEverySize)
{
    for (int size : {1, 2, 3, 10}) {
        cDirList list;
        for (int i = 0; i < size; ++i) {
            list.Add(0x80, {}, {}, {}, i, "f" + std::to_string(i));
        }
        EXPECT_TRUE(isEmpty(list.Clear()));
        EXPECT_EQ(list.Count(), 0) << size;
    }
}

} // namespace
} // namespace tollen::transfer
