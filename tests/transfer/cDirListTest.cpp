#include "transfer/cDirList.h"

#include <gtest/gtest.h>

namespace tollen::transfer {
namespace {

TEST(DirectoryList, ItemsAreFoundByPositionFromOneOrByNameInAnyCase)
{
    cDirList list;
    for (const char *name : {"a.txt", "B.txt", "c.txt", "b.TXT"}) {
        list.Add(0x80, {}, {}, {}, 1, name);
    }
    EXPECT_EQ(list.Item(std::int32_t{1})->Filename, "a.txt");
    EXPECT_EQ(list.Item(std::int16_t{4})->Filename, "b.TXT");
    // By name the earlier of two entries that differ only in case answers.
    EXPECT_EQ(list.Item(std::string("b.txt"))->Filename, "B.txt");
    for (const TaggedValue &absent : {TaggedValue{std::int32_t{0}}, TaggedValue{std::int32_t{5}},
                                      TaggedValue{std::string("missing")}, TaggedValue{}}) {
        EXPECT_EQ(list.Item(absent), nullptr);
    }
    EXPECT_TRUE(isEmpty(list.Clear()));
    EXPECT_EQ(list.Count(), 0);
}

} // namespace
} // namespace tollen::transfer
