#include "RegistryTestStores.h"
#include "registry/RegistryError.h"
#include "registry/cRegistry.h"

#include <filesystem>
#include <fstream>

using namespace tollen;
using namespace tollen::registry;
using namespace tollen::registry::testing;

namespace {

std::filesystem::path scratchFile(const std::string &name, const std::string &bytes)
{
    const auto path = std::filesystem::path(::testing::TempDir()) / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string hiveBytes()
{
    std::ifstream stream(REGISTRY_TEST_HIVE, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), {}};
}

std::vector<std::string> sections(cRegistry &registry, const std::string &section)
{
    registry.setClassKey(kLocalMachineKey);
    registry.setSectionKey(section);
    std::vector<std::string> names;
    std::int32_t count = 0;
    registry.EnumerateSections(names, count);
    return names;
}

} // namespace

TEST(HiveStore, CurrentControlSetFollowsSelectCurrent)
{
    auto opened = HiveStore::open(REGISTRY_TEST_HIVE);
    ASSERT_FALSE(opened.error) << opened.error.message;
    cRegistry registry(*opened.store);
    EXPECT_EQ(
        registry.ValueEx(kLocalMachineKey, "SYSTEM\\CurrentControlSet\\Enum", "Origin", 0, {}),
        TaggedValue(std::string("control set 2")));
    EXPECT_EQ(sections(registry, "SYSTEM"),
              (std::vector<std::string>{"ControlSet001", "ControlSet002", "CurrentControlSet",
                                        "Names", "Select", "Types"}));
    EXPECT_EQ(sections(registry, "SYSTEM\\currentcontrolset\\Enum"),
              (std::vector<std::string>{"PCI"}));
    EXPECT_EQ(sections(registry, ""), (std::vector<std::string>{"SYSTEM"}));
}

TEST(HiveStore, SoftwareHiveAppearsBesideSystem)
{
    auto opened = HiveStore::open(REGISTRY_TEST_HIVE, REGISTRY_TEST_HIVE);
    ASSERT_FALSE(opened.error) << opened.error.message;
    cRegistry registry(*opened.store);
    EXPECT_EQ(sections(registry, ""), (std::vector<std::string>{"SOFTWARE", "SYSTEM"}));
    EXPECT_EQ(registry.ValueEx(kLocalMachineKey, "SOFTWARE\\Types", "Text", 0, {}),
              TaggedValue(std::string("abc")));
}

TEST(HiveStore, EveryWriteIsRefused)
{
    auto opened = HiveStore::open(REGISTRY_TEST_HIVE);
    ASSERT_FALSE(opened.error);
    auto &store = *opened.store;
    RegistryHandle key = 0;
    ASSERT_EQ(store.openKey(kLocalMachine, "SYSTEM\\Types", kAllWriteAccess, key), kSuccess);
    EXPECT_EQ(store.setValue(key, "Text", kString, nullptr, 0), kAccessDenied);
    EXPECT_EQ(store.deleteValue(key, "Text"), kAccessDenied);
    EXPECT_EQ(store.createKey(kLocalMachine, "SYSTEM\\Types", key), kAccessDenied);
    EXPECT_EQ(store.deleteKey(kLocalMachine, "SYSTEM\\Names\\A1"), kAccessDenied);
    store.closeKey(key);

    cRegistry registry(store);
    registry.setClassKey(kLocalMachineKey);
    registry.setSectionKey("SYSTEM\\Types");
    registry.setValueKey("Text");
    registry.setValueType(1);
    EXPECT_THROW(registry.setValue(std::string("new")), RegistryError);
    EXPECT_THROW(registry.CreateKey(), RegistryError);
    EXPECT_THROW(registry.DeleteValue(), RegistryError);
    EXPECT_EQ(registry.Value(), TaggedValue(std::string("abc")));
}

TEST(HiveStore, ExportedHiveReadsLikeItsSource)
{
    auto opened = HiveStore::open(REGISTRY_TEST_HIVE);
    ASSERT_FALSE(opened.error);
    const auto exported = writeRegFile(*opened.store, RegFormat::Version5);
    ASSERT_FALSE(exported.error) << exported.error.message;
    MemoryStore copy;
    ASSERT_FALSE(copy.loadRegText(exported.bytes));
    auto source = makeStore("memory");
    cRegistry fromCopy(copy);
    cRegistry fromSource(*source);
    for (const auto *name : {"Text", "Expand", "Multi", "BigEndian", "Other", "Empty", "Long"}) {
        EXPECT_EQ(fromCopy.ValueEx(kLocalMachineKey, "SYSTEM\\Types", name, 0, {}),
                  fromSource.ValueEx(kLocalMachineKey, "SYSTEM\\Types", name, 0, {}))
            << name;
        EXPECT_EQ(fromCopy.ValueType(), fromSource.ValueType()) << name;
    }
}

TEST(HiveStore, FilesThatAreNotWholeHivesAreRefused)
{
    const auto whole = hiveBytes();
    ASSERT_GT(whole.size(), 8192U);
    auto corrupt = whole;
    corrupt[4096] = 'X'; // the first bin's signature
    const std::vector<std::pair<std::string, std::string>> files{
        {"empty.hiv", ""},
        {"text.hiv", "Windows Registry Editor Version 5.00\r\n"},
        {"header-only.hiv", whole.substr(0, 512)},
        {"truncated.hiv", whole.substr(0, whole.size() / 2 + 100)},
        {"corrupt.hiv", corrupt},
    };
    for (const auto &[name, bytes] : files) {
        const auto path = scratchFile(name, bytes);
        const auto opened = HiveStore::open(path);
        EXPECT_EQ(opened.store, nullptr) << name;
        EXPECT_NE(opened.error.message.find(path.string()), std::string::npos)
            << name << ": " << opened.error.message;
    }
    const auto missing = HiveStore::open(REGISTRY_TEST_HIVE, "/nonexistent/SOFTWARE");
    EXPECT_EQ(missing.store, nullptr);
    EXPECT_NE(missing.error.message.find("/nonexistent/SOFTWARE"), std::string::npos);
}
