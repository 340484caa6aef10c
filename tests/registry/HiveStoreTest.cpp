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

/// The test hive damaged as a broken or hostile hive may be. A key cell ("nk") holds at 0x14 its
/// number of subkeys, at 0x1C their list ("lh", a count, then pairs of key cell and name hash),
/// at 0x48 its name length, at 0x4C its name. Cell references count from the first bin at 0x1000
/// and point at the cell's size, 4 bytes before its signature.
class DamagedHive
{
public:
    /// Overwrites the name of the key `name` with NUL bytes.
    DamagedHive &blankName(const std::string &name)
    {
        const auto at = keyCell(name);
        m_bytes.replace(at + 0x4C, name.size(), std::string(name.size(), '\0'));
        return *this;
    }
    /// Makes the key `to` list the subkeys of the key `from`.
    DamagedHive &giveSubkeys(const std::string &from, const std::string &to)
    {
        const auto source = keyCell(from);
        const auto target = keyCell(to);
        m_bytes.replace(target + 0x14, 4, m_bytes, source + 0x14, 4);
        m_bytes.replace(target + 0x1C, 4, m_bytes, source + 0x1C, 4);
        return *this;
    }
    std::filesystem::path write(const std::string &name) const
    {
        return scratchFile(name, m_bytes);
    }

private:
    std::size_t number(std::size_t at) const
    {
        std::size_t value = 0;
        for (std::size_t index = 0; index < 4; ++index) {
            value |= std::size_t{static_cast<std::uint8_t>(m_bytes[at + index])} << (8 * index);
        }
        return value;
    }
    std::size_t keyCell(const std::string &name) const
    {
        for (auto at = m_bytes.find("nk"); at != std::string::npos;
             at = m_bytes.find("nk", at + 1)) {
            if (at + 0x4C + name.size() <= m_bytes.size() &&
                number(at + 0x48) % 0x10000 == name.size() &&
                m_bytes.compare(at + 0x4C, name.size(), name) == 0) {
                return at;
            }
        }
        throw std::runtime_error("the test hive has no key named " + name);
    }

    std::string m_bytes = hiveBytes();
};

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
    auto unselected = openHive(DamagedHive().blankName("Select").write("unselected.hiv"));
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
    EXPECT_EQ(store.createKey(kLocalMachine, "SYSTEM\\Types", key), kAccessDenied);
    EXPECT_EQ(store.deleteKey(kLocalMachine, "SYSTEM\\Names\\A1"), kAccessDenied);
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

// The walks' other defences (nameless and repeated entries) are the fuzz target's to show.
TEST(HiveStore, KeyListingItsOwnParentsSubkeysIsSeenAsATreeThatEveryWalkCanEnd)
{
    auto opened = openHive(DamagedHive().giveSubkeys("Names", "A1").write("damaged.hiv"));
    ASSERT_NE(opened.store, nullptr);
    EXPECT_EQ(subkeys(*opened.store, kLocalMachine, "SYSTEM\\Names"),
              (std::vector<std::string>{"A1", "b2", "C" + std::string(254, 'x'), "D4"}));
    EXPECT_EQ(subkeys(*opened.store, kLocalMachine, "SYSTEM\\Names\\A1"),
              std::vector<std::string>{});
    const auto exported = writeRegFile(*opened.store, RegFormat::Regedit4);
    ASSERT_FALSE(exported.error) << exported.error.message;
    MemoryStore copy;
    EXPECT_FALSE(copy.loadRegText(exported.bytes));
}
