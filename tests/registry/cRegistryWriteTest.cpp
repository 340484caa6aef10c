#include "RegistryTestStores.h"
#include "registry/ExecutableName.h"
#include "registry/RegistryError.h"
#include "registry/cRegistry.h"

#include <functional>

using namespace tollen;
using namespace tollen::registry;
using namespace tollen::registry::testing;

namespace {

const std::string kSource = executableBaseName() + ".cRegistry";

class cRegistryWrite : public ::testing::Test
{
protected:
    cRegistryWrite() : m_registry(m_store)
    {
        m_registry.setClassKey(kLocalMachineKey);
        m_registry.setSectionKey("SOFTWARE\\Tollen");
        m_registry.setValueKey("Setting");
    }

    /// The stored type and bytes, straight from the store.
    std::pair<std::uint32_t, ByteArray> stored()
    {
        RegistryHandle key = 0;
        EXPECT_EQ(m_store.openKey(kLocalMachine, m_registry.SectionKey(), kQueryValueAccess, key),
                  kSuccess);
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        m_store.queryValue(key, m_registry.ValueKey(), type, nullptr, size);
        ByteArray data(size);
        m_store.queryValue(key, m_registry.ValueKey(), type, data.data(), size);
        m_store.closeKey(key);
        return {type, data};
    }

    MemoryStore m_store;
    cRegistry m_registry;
};

ByteArray bytesOf(const std::string &text)
{
    return {text.begin(), text.end()};
}

} // namespace

TEST(cRegistryExecutableName, SourceIsTheTestProgramsName)
{
    EXPECT_EQ(kSource, "tollen_registry_tests.cRegistry");
}

TEST_F(cRegistryWrite, TextTypeIsChosenByPercentSigns)
{
    const std::vector<std::pair<std::string, std::uint32_t>> rows{
        {"100%", 1}, {"%PATH%", 2},  {"%%", 1}, {"a%%b", 1}, {"%a%", 2},
        {"%%a%", 2}, {"x % y %", 2}, {"", 1},   {"%%%", 2},  {"plain", 1}};
    for (const auto valueType : {1, 2}) {
        for (const auto &[text, type] : rows) {
            m_registry.setValueType(valueType);
            m_registry.setValue(text);
            EXPECT_EQ(stored(), std::make_pair(type, bytesOf(text + '\0')))
                << "\"" << text << "\" written with type " << valueType;
        }
    }
}

TEST_F(cRegistryWrite, IntegersAndBytesAreStoredAsGiven)
{
    m_registry.setValueType(5);
    m_registry.setValue(std::int16_t{7});
    EXPECT_EQ(stored(), std::make_pair(std::uint32_t{4}, ByteArray{7, 0, 0, 0}));
    m_registry.setValueType(4);
    m_registry.setValue(std::int32_t{-2});
    EXPECT_EQ(stored(), std::make_pair(std::uint32_t{4}, ByteArray{0xFE, 0xFF, 0xFF, 0xFF}));
    m_registry.setValueType(3);
    m_registry.setValue(ByteArray{9, 8, 7, 6, 5});
    EXPECT_EQ(stored(), std::make_pair(std::uint32_t{3}, ByteArray{9, 8, 7, 6, 5}));
    EXPECT_EQ(m_registry.Value(), TaggedValue(ByteArray{9, 8, 7, 6, 5}));
    m_registry.setValue(ByteArray{});
    EXPECT_EQ(m_registry.Value(), TaggedValue(ByteArray{}));
}

TEST_F(cRegistryWrite, DwordWriteOfANonIntegerDoesNothing)
{
    m_registry.setValueType(4);
    EXPECT_NO_THROW(m_registry.setValue(std::string("12")));
    EXPECT_NO_THROW(m_registry.setValue(TaggedValue{}));
    EXPECT_TRUE(m_registry.KeyExists());
    m_registry.setDefault(std::string("none"));
    EXPECT_EQ(m_registry.Value(), TaggedValue(std::string("none")));
}

TEST_F(cRegistryWrite, StringWithoutTerminatorKeepsItsLastCharacter)
{
    RegistryHandle key = 0;
    m_store.createKey(kLocalMachine, "SOFTWARE\\Tollen", key);
    m_store.setValue(key, "Setting", kString, reinterpret_cast<const std::uint8_t *>("abc"), 3);
    m_store.setValue(key, "Empty", kExpandString, nullptr, 0);
    m_store.closeKey(key);
    EXPECT_EQ(m_registry.Value(), TaggedValue(std::string("abc")));
    m_registry.setValueKey("Empty");
    EXPECT_EQ(m_registry.Value(), TaggedValue(std::string()));
    EXPECT_EQ(m_registry.ValueType(), 2);
}

TEST_F(cRegistryWrite, ValueExWriteReplacesAnEmptyTextByDefault)
{
    TaggedValue newValue = std::string();
    m_registry.setValueEx(kLocalMachineKey, "SOFTWARE\\Other", "Name", 1, std::string("x"),
                          newValue);
    EXPECT_EQ(newValue, TaggedValue(std::string("x")));
    EXPECT_EQ(m_registry.SectionKey(), "SOFTWARE\\Other");
    EXPECT_EQ(m_registry.ValueKey(), "Name");
    EXPECT_EQ(m_registry.ValueType(), 1);
    EXPECT_EQ(m_registry.Default(), TaggedValue(std::string("x")));
    EXPECT_EQ(m_registry.ValueEx(kLocalMachineKey, "SOFTWARE\\Other", "Name", 0, {}),
              TaggedValue(std::string("x")));
}

TEST_F(cRegistryWrite, KeysAreCreatedAlongThePathAndDeletedLeafFirst)
{
    m_registry.setSectionKey("SOFTWARE\\A\\B\\C");
    EXPECT_TRUE(m_registry.CreateKey());
    EXPECT_TRUE(m_registry.KeyExists());
    m_registry.setSectionKey("SOFTWARE\\A");
    EXPECT_THROW(m_registry.DeleteKey(), RegistryError);
    m_registry.setSectionKey("SOFTWARE\\A\\B\\C");
    EXPECT_TRUE(m_registry.DeleteKey());
    EXPECT_FALSE(m_registry.KeyExists());
    m_registry.setValueType(1);
    m_registry.setValue(std::string("v"));
    EXPECT_TRUE(m_registry.DeleteValue());
    EXPECT_TRUE(isEmpty(m_registry.Value()));
}

namespace {

struct ErrorRow
{
    const char *what;
    std::function<void(cRegistry &)> action;
    std::int32_t number;
    std::string source;
    std::string description;
};

} // namespace

TEST_F(cRegistryWrite, EveryFailureRaisesItsNumberSourceAndDescription)
{
    const std::string hklm = "-2147483646";
    const std::string longName(300, 'n');
    const std::vector<ErrorRow> rows{
        {"create fails",
         [&](cRegistry &r) {
             r.setSectionKey(longName);
             r.CreateKey();
         },
         26001, kSource, "Failed to create registry"},
        {"delete of a missing key",
         [](cRegistry &r) {
             r.setSectionKey("SOFTWARE\\No");
             r.DeleteKey();
         },
         26001, kSource, "Failed to delete registry"},
        {"delete value of a missing key",
         [](cRegistry &r) {
             r.setSectionKey("SOFTWARE\\No");
             r.DeleteValue();
         },
         26001, kSource,
         "Failed to open key '" + hklm + "',Section: 'SOFTWARE\\No' for delete access"},
        {"delete of a missing value",
         [](cRegistry &r) {
             r.setValueKey("Gone");
             r.DeleteValue();
         },
         26001, kSource,
         "Failed to delete registry Key: '" + hklm + "',Section: 'SOFTWARE\\Tollen',Key: 'Gone"},
        {"write to a key that cannot be created",
         [&](cRegistry &r) {
             r.setSectionKey(longName);
             r.setValueType(1);
             r.setValue(std::string("v"));
         },
         26001, kSource,
         "Failed to set registry Value Key: '" + hklm + "',Section: '" + longName + "',Key:"},
        {"binary write of text",
         [](cRegistry &r) {
             r.setValueType(3);
             r.setValue(std::string("v"));
         },
         26001, "", ""},
        {"write with type 0",
         [](cRegistry &r) {
             r.setValueType(0);
             r.setValue(std::string("v"));
         },
         -2147194455, kSource, "Failed to set registry value Key: '" + hklm + "',Section:"},
        {"write with type 6",
         [](cRegistry &r) {
             r.setValueType(6);
             r.setValue(std::string("v"));
         },
         -2147194455, kSource, "Failed to set registry value Key: '" + hklm + "',Section:"},
        {"write with type -1",
         [](cRegistry &r) {
             r.setValueType(-1);
             r.setValue(std::int32_t{1});
         },
         -2147194455, kSource, "Failed to set registry value Key: '" + hklm + "',Section:"},
        {"multi-string write",
         [](cRegistry &r) {
             r.setValueType(7);
             r.setValue(std::string("v"));
         },
         -2147194455, kSource, "Failed to set registry value Key: '" + hklm + "',Section:"},
        {"additional verbs from 4 items",
         [](cRegistry &r) { r.CreateAdditionalEXEAssociations("c", std::vector<TaggedValue>(4)); },
         -2147194452, kSource,
         "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
         "Name/Text/Command"},
        {"additional verbs from no items",
         [](cRegistry &r) { r.CreateAdditionalEXEAssociations("c", {}); }, -2147194452, kSource,
         "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
         "Name/Text/Command"},
        {"additional verbs before the class",
         [](cRegistry &r) { r.CreateAdditionalEXEAssociations("c", std::vector<TaggedValue>(3)); },
         -2147194451, kSource,
         "Error - attempt to create additional associations before class defined."},
    };
    m_registry.setValueType(1);
    m_registry.setValue(std::string("present"));
    for (const auto &row : rows) {
        cRegistry registry(m_store);
        registry.setClassKey(kLocalMachineKey);
        registry.setSectionKey("SOFTWARE\\Tollen");
        registry.setValueKey("Setting");
        try {
            row.action(registry);
            ADD_FAILURE() << row.what << ": nothing raised";
        } catch (const RegistryError &error) {
            EXPECT_EQ(error.number(), row.number) << row.what;
            EXPECT_EQ(error.source(), row.source) << row.what;
            EXPECT_EQ(error.description(), row.description) << row.what;
        }
    }
    EXPECT_EQ(m_registry.Value(), TaggedValue(std::string("present")));
}

TEST(cRegistryEnumeration, StoreFailureInsideSectionListingRaisesWithItsDescription)
{
    struct ThrowingStore final : RegistryStore
    {
        long openKey(RegistryHandle, std::string_view, std::uint32_t, RegistryHandle &key) override
        {
            key = 1;
            return kSuccess;
        }
        long createKey(RegistryHandle, std::string_view, RegistryHandle &) override { return 5; }
        long closeKey(RegistryHandle) override { return kSuccess; }
        long deleteKey(RegistryHandle, std::string_view) override { return 5; }
        long deleteValue(RegistryHandle, std::string_view) override { return 5; }
        long queryValue(RegistryHandle, std::string_view, std::uint32_t &, std::uint8_t *,
                        std::uint32_t &) override
        {
            return 2;
        }
        long setValue(RegistryHandle, std::string_view, std::uint32_t, const std::uint8_t *,
                      std::uint32_t) override
        {
            return 5;
        }
        long queryInfoKey(RegistryHandle, std::uint32_t &) override { return 5; }
        long enumValue(RegistryHandle, std::uint32_t, char *, std::uint32_t &) override
        {
            return 259;
        }
        long enumKey(RegistryHandle, std::uint32_t, char *, std::uint32_t) override
        {
            throw std::runtime_error("device tree vanished");
        }
        long connectRegistry(std::string_view, RegistryHandle, RegistryHandle &) override
        {
            return 53;
        }
    } store;
    cRegistry registry(store);
    std::vector<std::string> names;
    std::int32_t count = 0;
    try {
        registry.EnumerateSections(names, count);
        ADD_FAILURE() << "nothing raised";
    } catch (const RegistryError &error) {
        EXPECT_EQ(error.number(), -2147194454);
        EXPECT_EQ(error.source(), kSource);
        EXPECT_EQ(error.description(), "device tree vanished");
    }
}
