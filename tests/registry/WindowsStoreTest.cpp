// The advapi32 store against the real registry of the system the tests run on (Wine's, in CI),
// in a private key under HKEY_CURRENT_USER that each test removes again.

#include "registry/WindowsStore.h"

#include "RegistryTestStores.h"
#include "registry/StoreWalk.h"
#include "registry/cRegistry.h"

#include <random>
#include <windows.h>

using namespace tollen;
using namespace tollen::registry;

namespace {

class WindowsStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static std::mt19937_64 generator{std::random_device{}()};
        m_key = "Software\\Tollen tests\\store " + std::to_string(generator() & 0xFFFFFFFFULL);
        RegistryHandle key = 0;
        ASSERT_EQ(m_store.createKey(kCurrentUser, m_key, key), kSuccess);
        m_store.closeKey(key);
    }
    void TearDown() override { EXPECT_EQ(deleteKeyTree(m_store, kCurrentUser, m_key), kSuccess); }

    std::wstring wideKey(const std::string &below) const
    {
        const std::string path = m_key + below;
        return {path.begin(), path.end()};
    }

    WindowsStore m_store;
    std::string m_key;
};

TEST_F(WindowsStoreTest, TheSystemsResultCodesPassThrough)
{
    RegistryHandle key = 0;
    EXPECT_EQ(m_store.openKey(kCurrentUser, m_key + "\\missing", kQueryValueAccess, key),
              ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(m_store.createKey(kCurrentUser, m_key + "\\a\\b", key), kSuccess);
    const std::string text = "0123456789";
    ASSERT_EQ(m_store.setValue(key, "Text", kString,
                               reinterpret_cast<const std::uint8_t *>(text.c_str()), 11),
              kSuccess);
    std::uint8_t small[4];
    std::uint32_t type = 0;
    std::uint32_t size = sizeof small;
    EXPECT_EQ(m_store.queryValue(key, "Text", type, small, size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 11U);
    EXPECT_EQ(m_store.queryValue(key, "Missing", type, small, size), ERROR_FILE_NOT_FOUND);
    char name[255];
    EXPECT_EQ(m_store.enumKey(key, 0, name, sizeof name), ERROR_NO_MORE_ITEMS);
    std::uint32_t length = sizeof name;
    EXPECT_EQ(m_store.enumValue(key, 1, name, length), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(m_store.closeKey(key), kSuccess);
    EXPECT_EQ(m_store.closeKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(m_store.queryValue(key, "Text", type, small, size), ERROR_INVALID_HANDLE);
    // A key with subkeys is refused, as the registry refuses it.
    EXPECT_NE(m_store.deleteKey(kCurrentUser, m_key + "\\a"), kSuccess);
    EXPECT_EQ(m_store.deleteKey(kCurrentUser, m_key + "\\a\\b"), kSuccess);
}

TEST_F(WindowsStoreTest, NamesAndTextAreUtf8HereAndUtf16InTheRegistry)
{
    cRegistry reg(m_store);
    reg.setClassKey(static_cast<std::int32_t>(kCurrentUser));
    reg.setSectionKey(m_key + "\\Gerät 日本");
    reg.setValueKey("Größe");
    reg.setValueType(kString);
    reg.setValue(std::string("Müller € 𝄞"));
    EXPECT_EQ(reg.Value(), TaggedValue(std::string("Müller € 𝄞")));

    // The system itself sees the UTF-16 text.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (wideKey("") + L"\\Ger\u00e4t \u65e5\u672c").c_str(),
                            0, KEY_QUERY_VALUE, &key),
              ERROR_SUCCESS);
    wchar_t data[32] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"Gr\u00f6\u00dfe", nullptr, &type,
                               reinterpret_cast<BYTE *>(data), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::wstring(data), L"M\u00fcller \u20ac \U0001D11E");

    std::vector<std::string> names;
    std::int32_t count = 0;
    reg.setSectionKey(m_key);
    reg.EnumerateSections(names, count);
    EXPECT_EQ(names, std::vector<std::string>{"Gerät 日本"});
    reg.setSectionKey(m_key + "\\Gerät 日本");
    reg.EnumerateValues(names, count);
    EXPECT_EQ(names, std::vector<std::string>{"Größe"});
}

TEST_F(WindowsStoreTest, StringDataOfAnOddSizeOrWithoutItsEndReadsWithoutHarm)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wideKey("\\odd").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const BYTE odd[] = {'a', 0, 'b', 0, 'c'};
    const BYTE bare[] = {'x', 0, 'y', 0};
    const BYTE wrongDword[] = {1, 2};
    RegSetValueExW(key, L"Odd", 0, REG_SZ, odd, sizeof odd);
    RegSetValueExW(key, L"Bare", 0, REG_MULTI_SZ, bare, sizeof bare);
    RegSetValueExW(key, L"Empty", 0, REG_EXPAND_SZ, nullptr, 0);
    RegSetValueExW(key, L"Short", 0, REG_DWORD, wrongDword, sizeof wrongDword);
    RegCloseKey(key);

    cRegistry reg(m_store);
    const auto read = [&](const char *name) {
        return reg.ValueEx(static_cast<std::int32_t>(kCurrentUser), m_key + "\\odd", name, 0,
                           std::string("default"));
    };
    EXPECT_EQ(read("Odd"), TaggedValue(std::string("ab")));
    EXPECT_EQ(read("Bare"), TaggedValue(std::string("xy")));
    EXPECT_EQ(read("Empty"), TaggedValue(std::string()));
    EXPECT_EQ(read("Short"), TaggedValue(std::int32_t{0x0201}));
}

TEST_F(WindowsStoreTest, ThisMachineByNameIsTheLocalRegistryAndAnUnknownOneGivesTheDefault)
{
    cRegistry reg(m_store);
    TaggedValue written = std::string("here");
    reg.setValueEx(static_cast<std::int32_t>(kCurrentUser), m_key, "Where", kString, {}, written);

    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(computer, &length));
    reg.setMachine(std::string(computer, computer + length));
    EXPECT_EQ(reg.ValueEx(static_cast<std::int32_t>(kCurrentUser), m_key, "Where", 0, {}),
              TaggedValue(std::string("here")));

    // A machine that does not answer: 127.0.0.2 stays on this machine whatever the system does
    // with the name.
    reg.setMachine("127.0.0.2");
    EXPECT_EQ(reg.ValueEx(static_cast<std::int32_t>(kCurrentUser), m_key, "Where", 0,
                          std::string("unreachable")),
              TaggedValue(std::string("unreachable")));
}

} // namespace
