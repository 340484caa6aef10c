#include "registry/HiveStore.h"

#include "RegistryTestStores.h"
#include "registry/RegistryError.h"
#include "registry/cRegistry.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

using namespace tollen;
using namespace tollen::registry;
using namespace tollen::registry::testing;

namespace {

std::filesystem::path scratchFile(const std::string &name, const std::string &bytes)
{
    const auto path = scratchFolder() / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string hiveBytes()
{
    std::ifstream stream(REGISTRY_TEST_HIVE, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), {}};
}

/// The test hive with the name of the key `name` blanked out with NUL bytes, as a damaged hive
/// may hold it. A key cell ("nk") holds its name length at 0x48 and its name at 0x4C.
std::filesystem::path hiveWithBlankName(const std::string &name)
{
    std::string bytes = hiveBytes();
    for (auto at = bytes.find("nk"); at != std::string::npos; at = bytes.find("nk", at + 1)) {
        const auto length = static_cast<std::uint8_t>(bytes[at + 0x48]) +
                            256U * static_cast<std::uint8_t>(bytes[at + 0x49]);
        if (at + 0x4C + name.size() <= bytes.size() && length == name.size() &&
            bytes.compare(at + 0x4C, name.size(), name) == 0) {
            bytes.replace(at + 0x4C, name.size(), std::string(name.size(), '\0'));
            return scratchFile("blank-" + name + ".hiv", bytes);
        }
    }
    throw std::runtime_error("the test hive has no key named " + name);
}

HiveStoreOpen openHive(const std::filesystem::path &system,
                       const std::filesystem::path &software = {})
{
    auto opened = HiveStore::open(system, software);
    EXPECT_FALSE(opened.error) << opened.error.message;
    return opened;
}

} // namespace

TEST(HiveStore, CurrentControlSetFollowsSelectCurrentElseLeadsToTheLowestSet)
{
    auto opened = openHive(REGISTRY_TEST_HIVE);
    auto &store = *opened.store;
    EXPECT_EQ(storedValue(store, "SYSTEM\\CurrentControlSet\\Enum", "Origin").bytes,
              std::string("control set 2", 14));
    EXPECT_EQ(subkeys(store, kLocalMachine, "SYSTEM"),
              (std::vector<std::string>{"ControlSet001", "ControlSet002", "CurrentControlSet",
                                        "Names", "Select", "Types"}));
    EXPECT_EQ(subkeys(store, kLocalMachine, "SYSTEM\\currentcontrolset\\Enum"),
              (std::vector<std::string>{"PCI"}));
    EXPECT_EQ(subkeys(store, kLocalMachine), (std::vector<std::string>{"SYSTEM"}));

    // Without a Select key (blanked out here) it leads to the lowest-numbered set.
    auto unselected = openHive(hiveWithBlankName("Select"));
    EXPECT_EQ(storedValue(*unselected.store, "SYSTEM\\CurrentControlSet\\Enum", "Origin").bytes,
              std::string("control set 1", 14));
}

TEST(HiveStore, SoftwareHiveAppearsBesideSystemAndEveryWriteIsRefused)
{
    auto opened = openHive(REGISTRY_TEST_HIVE, REGISTRY_TEST_HIVE);
    auto &store = *opened.store;
    EXPECT_EQ(subkeys(store, kLocalMachine), (std::vector<std::string>{"SOFTWARE", "SYSTEM"}));
    EXPECT_EQ(storedValue(store, "SOFTWARE\\Types", "Text").bytes, std::string("abc", 4));
    RegistryHandle key = 0;
    ASSERT_EQ(store.openKey(kLocalMachine, "SYSTEM\\Types", kAllWriteAccess, key), kSuccess);
    EXPECT_EQ(store.setValue(key, "Text", kString, nullptr, 0), kAccessDenied);
    EXPECT_EQ(store.deleteValue(key, "Text"), kAccessDenied);
    store.closeKey(key);
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

TEST(HiveStore, StringDataIsReadAsUtf16WhenItHasItsShape)
{
    auto opened = openHive(REGISTRY_STRINGS_HIVE);
    using namespace std::string_literals;
    const std::vector<std::pair<std::string, std::string>> rows{
        {"CyrillicEnded", "Кон USB\0"s}, {"Cyrillic", "Кон USB"},
        {"CjkEnded", "中文A\0"s},        {"Cjk", "中文A"},
        {"CjkSpacedEnded", "中文 A\0"s}, {"CjkSpaced", "中文 A"},
        {"Latin1Ended", "café\0"s},      {"Latin1", "café"},
        {"MultiEnded", "Кон\0USB\0\0"s}, {"Multi", "Кон\0USB\0"s},
        {"AsciiEightBit", "abc\0"s},     {"AsciiEightBitOdd", "ab\0"s},
        {"Utf8EightBit", "über\0"s},     {"Windows1252EightBit", "cafés\0"s},
    };
    for (const auto &[name, expected] : rows) {
        EXPECT_EQ(storedValue(*opened.store, "SYSTEM\\Strings", name).bytes, expected) << name;
    }
}
