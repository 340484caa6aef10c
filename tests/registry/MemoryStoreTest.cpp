#include "registry/MemoryStore.h"

#include "RegistryTestStores.h"

using namespace tollen::registry;
using tollen::registry::testing::subkeys;

namespace {

class MemoryStoreTest : public ::testing::Test
{
protected:
    RegistryHandle create(const std::string &path)
    {
        RegistryHandle key = 0;
        EXPECT_EQ(m_store.createKey(kLocalMachine, path, key), kSuccess) << path;
        return key;
    }

    MemoryStore m_store;
};

} // namespace

TEST_F(MemoryStoreTest, ResultCodesMatchTheRegistryApiAndADeletedKeyAnswersKeyDeleted)
{
    const auto key = create("SOFTWARE\\T");
    const std::uint8_t data[] = {'a', 'b', 'c', 0};
    EXPECT_EQ(m_store.setValue(key, "Name", kString, data, 4), kSuccess);

    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(m_store.queryValue(key, "name", type, nullptr, size), kSuccess);
    EXPECT_EQ(size, 4U);
    std::uint8_t small[2];
    size = 2;
    EXPECT_EQ(m_store.queryValue(key, "NAME", type, small, size), kMoreData);
    EXPECT_EQ(size, 4U);
    EXPECT_EQ(m_store.queryValue(key, "other", type, small, size), kFileNotFound);

    char name[5];
    std::uint32_t length = 4;
    EXPECT_EQ(m_store.enumValue(key, 0, name, length), kMoreData);
    length = 5;
    EXPECT_EQ(m_store.enumValue(key, 0, name, length), kSuccess);
    EXPECT_EQ(length, 4U);
    EXPECT_EQ(m_store.enumValue(key, 1, name, length), kNoMoreItems);
    std::uint32_t longest = 0;
    EXPECT_EQ(m_store.queryInfoKey(key, longest), kSuccess);
    EXPECT_EQ(longest, 4U);

    RegistryHandle other = 0;
    EXPECT_EQ(m_store.openKey(kLocalMachine, "SOFTWARE\\Missing", kQueryValueAccess, other),
              kFileNotFound);
    EXPECT_EQ(m_store.openKey(0x1234, "", kQueryValueAccess, other), kInvalidHandle);
    EXPECT_EQ(m_store.deleteKey(kLocalMachine, "SOFTWARE"), kAccessDenied);
    EXPECT_EQ(m_store.deleteKey(kLocalMachine, "SOFTWARE\\Missing"), kFileNotFound);
    EXPECT_EQ(m_store.deleteValue(key, "missing"), kFileNotFound);
    EXPECT_EQ(m_store.closeKey(key), kSuccess);
    EXPECT_EQ(m_store.closeKey(key), kInvalidHandle);

    const auto gone = create("SOFTWARE\\Gone");
    EXPECT_EQ(m_store.deleteKey(kLocalMachine, "software\\gone"), kSuccess);
    EXPECT_EQ(m_store.queryInfoKey(gone, longest), kKeyDeleted);
    EXPECT_EQ(m_store.setValue(gone, "v", kDword, nullptr, 0), kKeyDeleted);
    EXPECT_EQ(m_store.createKey(gone, "child", other), kKeyDeleted);
    m_store.closeKey(gone);
}
