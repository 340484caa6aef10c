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

    StoredValue stored()
    {
        return storedValue(m_store, m_registry.SectionKey(), m_registry.ValueKey());
    }

    MemoryStore m_store;
    cRegistry m_registry;
};

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
            EXPECT_EQ(stored(), (StoredValue{type, text + '\0'}))
                << "\"" << text << "\" written with type " << valueType;
        }
    }
}

TEST_F(cRegistryWrite, IntegersAndBytesAreStoredAsGiven)
{
    m_registry.setValueType(5);
    m_registry.setValue(std::int16_t{7});
    EXPECT_EQ(stored(), (StoredValue{4, std::string("\7\0\0\0", 4)}));
    m_registry.setValueType(4);
    m_registry.setValue(std::int32_t{-2});
    EXPECT_EQ(stored(), (StoredValue{4, "\xFE\xFF\xFF\xFF"}));
    m_registry.setValueType(3);
    m_registry.setValue(ByteArray{9, 8, 7, 6, 5});
    EXPECT_EQ(stored(), (StoredValue{3, "\t\b\a\6\5"}));
    EXPECT_EQ(m_registry.Value(), TaggedValue(ByteArray{9, 8, 7, 6, 5}));
    m_registry.setValue(ByteArray{});
    EXPECT_EQ(m_registry.Value(), TaggedValue(ByteArray{}));
    // A DWORD write of anything but an integer does nothing.
    m_registry.setValueType(4);
    EXPECT_NO_THROW(m_registry.setValue(std::string("12")));
    EXPECT_NO_THROW(m_registry.setValue(TaggedValue{}));
    EXPECT_EQ(m_registry.Value(), TaggedValue(ByteArray{}));
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

TEST_F(cRegistryWrite, EveryFailureRaisesItsNumberSourceAndDescription)
{
    const std::string hklm = "-2147483646";
    const std::string tollen = "SOFTWARE\\Tollen";
    const std::string missing = "SOFTWARE\\No";
    const std::string longName(300, 'n');
    const std::string setFailed = "Failed to set registry value Key: '" + hklm + "',Section:";
    const std::string badList = "Invalid parameter list passed to CreateAdditionalEXEAssociations "
                                "- expected Name/Text/Command";
    using Action = std::function<void(cRegistry &)>;
    const Action create = [](cRegistry &r) { r.CreateKey(); };
    const Action remove = [](cRegistry &r) { r.DeleteKey(); };
    const Action removeValue = [](cRegistry &r) { r.DeleteValue(); };
    const Action writeText = [](cRegistry &r) { r.setValue(std::string("v")); };
    const auto associate = [](std::size_t items) {
        return [items](cRegistry &r) {
            r.CreateAdditionalEXEAssociations("c", std::vector<TaggedValue>(items));
        };
    };
    struct Row
    {
        std::string section, valueKey;
        std::int32_t valueType;
        Action action;
        std::int32_t number;
        std::string source, description;
    };
    const std::vector<Row> rows{
        {longName, "Setting", 1, create, 26001, kSource, "Failed to create registry"},
        {missing, "Setting", 1, remove, 26001, kSource, "Failed to delete registry"},
        {missing, "Setting", 1, removeValue, 26001, kSource,
         "Failed to open key '" + hklm + "',Section: 'SOFTWARE\\No' for delete access"},
        {tollen, "Gone", 1, removeValue, 26001, kSource,
         "Failed to delete registry Key: '" + hklm + "',Section: 'SOFTWARE\\Tollen',Key: 'Gone"},
        {longName, "Setting", 1, writeText, 26001, kSource,
         "Failed to set registry Value Key: '" + hklm + "',Section: '" + longName + "',Key:"},
        {tollen, "Setting", 3, writeText, 26001, "", ""},
        {tollen, "Setting", 0, writeText, -2147194455, kSource, setFailed},
        {tollen, "Setting", 7, writeText, -2147194455, kSource, setFailed},
        {tollen, "Setting", -1, [](cRegistry &r) { r.setValue(std::int32_t{1}); }, -2147194455,
         kSource, setFailed},
        {tollen, "Setting", 1, associate(4), -2147194452, kSource, badList},
        {tollen, "Setting", 1, associate(3), -2147194451, kSource,
         "Error - attempt to create additional associations before class defined."},
    };
    m_registry.setValueType(1);
    m_registry.setValue(std::string("present"));
    for (const auto &row : rows) {
        SCOPED_TRACE(row.section + " " + row.valueKey + " " + std::to_string(row.valueType));
        cRegistry registry(m_store);
        registry.setClassKey(kLocalMachineKey);
        registry.setSectionKey(row.section);
        registry.setValueKey(row.valueKey);
        registry.setValueType(row.valueType);
        try {
            row.action(registry);
            ADD_FAILURE() << "nothing raised";
        } catch (const RegistryError &error) {
            EXPECT_EQ(error.number(), row.number);
            EXPECT_EQ(error.source(), row.source);
            EXPECT_EQ(error.description(), row.description);
        }
    }
    EXPECT_EQ(m_registry.Value(), TaggedValue(std::string("present")));
}
