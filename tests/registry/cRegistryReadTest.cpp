#include "RegistryTestStores.h"
#include "registry/cRegistry.h"

#include <cstdlib>

using namespace tollen;
using namespace tollen::registry;
using namespace tollen::registry::testing;

namespace {

/// Every read runs against the memory store and the system's store filled from the same .reg
/// file.
class cRegistryRead : public ::testing::TestWithParam<std::string>
{
protected:
    void SetUp() override
    {
        m_store = makeStore(GetParam());
        ASSERT_NE(m_store, nullptr);
        m_registry = std::make_unique<cRegistry>(*m_store);
    }

    TaggedValue read(const std::string &section, const std::string &name)
    {
        return m_registry->ValueEx(kLocalMachineKey, section, name, 0, std::string("fallback"));
    }

    const EnvironmentOverride m_variable{"TOLLEN_REGISTRY_TEST", "C:\\Windows"};
    std::unique_ptr<RegistryStore> m_store;
    std::unique_ptr<cRegistry> m_registry;
};

struct ReadRow
{
    const char *name;
    std::int32_t type;
    TaggedValue expected;
};

} // namespace

TEST_P(cRegistryRead, EveryTypeReadsAsItsKindAndSetsValueType)
{
    const std::vector<ReadRow> rows{
        {"Text", 1, std::string("abc")},
        {"", 1, std::string("default value")},
        {"Quoted", 1, std::string("say \"hi\" C:\\temp")},
        {"Expand", 2, std::string("C:\\Windows\\drivers")},
        {"Multi", 7, std::string("a\0b\0", 4)},
        {"Dword", 4, std::int32_t{258}},
        {"BigEndian", 5, std::int32_t{258}},
        {"Binary", 3, ByteArray{1, 2, 3, 4, 5}},
        {"None", 0, ByteArray{0xFF}},
        {"Qword", 11, ByteArray{1, 0, 0, 0, 0, 0, 0, 0}},
        {"Other", 0x4D2, ByteArray{0x0A, 0x0B}},
        {"Empty", 1, std::string()},
        {"Long", 1,
         [] {
             std::string text;
             for (int index = 0; index < 300; ++index) {
                 text += "0123456789";
             }
             return text;
         }()},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(read("SYSTEM\\Types", row.name), row.expected);
        EXPECT_EQ(m_registry->ValueType(), row.type);
    }
}

TEST_P(cRegistryRead, MissingValueOrKeyGivesDefaultAndKeepsValueType)
{
    read("SYSTEM\\Types", "Dword");
    for (const auto &[section, name] : std::vector<std::pair<std::string, std::string>>{
             {"SYSTEM\\Types", "Nothing"}, {"SYSTEM\\Nothing", "Text"}, {"", "Text"}}) {
        EXPECT_EQ(read(section, name), TaggedValue(std::string("fallback")));
        EXPECT_EQ(m_registry->ValueType(), 0);
    }
    m_registry->setClassKey(0x12345);
    m_registry->setSectionKey("SYSTEM\\Types");
    m_registry->setValueKey("Text");
    m_registry->setDefault(std::int32_t{7});
    EXPECT_EQ(m_registry->Value(), TaggedValue(std::int32_t{7}));
}

TEST_P(cRegistryRead, SectionsStopAtANameThatDoesNotFitIn255CharactersAndValuesListEachOnce)
{
    m_registry->setClassKey(kLocalMachineKey);
    for (const auto &[section, expected] :
         std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"SYSTEM\\Names", {"A1", "b2"}}, {"SYSTEM\\Names\\A1", {}}, {"SYSTEM\\Missing", {}}}) {
        m_registry->setSectionKey(section);
        std::vector<std::string> names{"stale"};
        std::int32_t count = -1;
        EXPECT_TRUE(m_registry->EnumerateSections(names, count));
        EXPECT_EQ(count, static_cast<std::int32_t>(expected.size())) << section;
        EXPECT_EQ(names, expected) << section;
    }
    m_registry->setSectionKey("SYSTEM\\Types");
    std::vector<std::string> names;
    std::int32_t count = 0;
    EXPECT_TRUE(m_registry->EnumerateValues(names, count));
    EXPECT_EQ(count, 13);
    ASSERT_EQ(names.size(), 13U);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names.front(), "");
    EXPECT_EQ(names.back(), "Text");

    m_registry->setSectionKey("SYSTEM\\Missing");
    EXPECT_TRUE(m_registry->EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.empty());
}

INSTANTIATE_TEST_SUITE_P(Stores, cRegistryRead, ::testing::Values("memory", systemStoreKind()),
                         [](const auto &info) { return std::string(info.param) + "Store"; });

TEST(cRegistryMachine, NamesAreStoredWithTwoLeadingBackslashes)
{
    MemoryStore store;
    cRegistry registry(store);
    const std::vector<std::pair<std::string, std::string>> rows{
        {"abcde", "\\\\abcde"}, {"ab", ""}, {"\\\\abcde", "\\\\abcde"}, {"\\ab", "\\\\\\ab"}};
    for (const auto &[given, stored] : rows) {
        registry.setMachine(given);
        EXPECT_EQ(registry.Machine(), stored) << given;
    }
}

TEST(cRegistryMachine, ValueReadsAndWritesGoToTheNamedMachineOnly)
{
    MemoryStore store;
    auto &remote = store.addRemoteMachine("Server");
    cRegistry local(store);
    cRegistry registry(store);
    registry.setMachine("SERVER");
    TaggedValue text = std::string("remote");
    registry.setValueEx(kLocalMachineKey, "SOFTWARE\\Tollen", "Where", 1, {}, text);

    cRegistry onRemote(remote);
    EXPECT_EQ(onRemote.ValueEx(kLocalMachineKey, "SOFTWARE\\Tollen", "Where", 0, {}), text);
    EXPECT_EQ(registry.ValueEx(kLocalMachineKey, "SOFTWARE\\Tollen", "Where", 0, {}), text);
    // KeyExists and the other key operations always work on the local registry.
    EXPECT_FALSE(registry.KeyExists());
    EXPECT_TRUE(isEmpty(local.ValueEx(kLocalMachineKey, "SOFTWARE\\Tollen", "Where", 0, {})));

    registry.setMachine("elsewhere");
    TaggedValue other = std::string("lost");
    EXPECT_NO_THROW(registry.setValue(other));
    EXPECT_EQ(onRemote.Value(), text);
    EXPECT_TRUE(isEmpty(registry.ValueEx(kLocalMachineKey, "SOFTWARE\\Tollen", "Where", 0, {})));
}
