#include "RegistryTestStores.h"
#include "core/Utf16.h"
#include "registry/cRegistry.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

using namespace tollen;
using namespace tollen::registry;
using namespace tollen::registry::testing;

namespace {

/// The whole tree as REGEDIT4 text: equal dumps mean equal keys, value types and bytes.
std::string dump(RegistryStore &store)
{
    const auto text = writeRegFile(store, RegFormat::Regedit4);
    EXPECT_FALSE(text.error) << text.error.message;
    return text.bytes;
}

std::string utf16File(const std::string &text)
{
    const auto wide = utf8ToUtf16le(text);
    return "\xFF\xFE" + std::string(wide.begin(), wide.end());
}

std::string repeated(const std::string &text, std::size_t count)
{
    std::string result;
    for (std::size_t index = 0; index < count; ++index) {
        result += text;
    }
    return result;
}

/// A memory store whose every key lists, before its real subkeys, one more named "loop" that
/// opens the key itself, as a damaged store might.
class LoopingStore final : public ForwardingStore<MemoryStore>
{
public:
    MemoryStore &memory() { return m_inner; }

    long openKey(RegistryHandle root, std::string_view path, std::uint32_t access,
                 RegistryHandle &key) override
    {
        return m_inner.openKey(root, path == "loop" ? std::string_view() : path, access, key);
    }
    long enumKey(RegistryHandle key, std::uint32_t index, char *name, std::uint32_t length) override
    {
        if (index > 0) {
            return m_inner.enumKey(key, index - 1, name, length);
        }
        return std::snprintf(name, length, "loop") < static_cast<int>(length) ? kSuccess
                                                                              : kMoreData;
    }
};

TaggedValue read(RegistryStore &store, const std::string &section, const std::string &name)
{
    cRegistry registry(store);
    return registry.ValueEx(kLocalMachineKey, section, name, 0, {});
}

} // namespace

TEST(RegFile, SavedFilesLoadBackToTheSameTreeInBothFormats)
{
    auto source = makeStore("memory");
    auto &store = dynamic_cast<MemoryStore &>(*source);
    RegistryHandle key = 0;
    store.createKey(kLocalMachine, "SOFTWARE\\Odd [name]\\Empty", key);
    const std::uint8_t eightBit[] = {'c', 0xE9, 0};
    store.setValue(key, "we\"ird\\name", kBinary, eightBit, 3);
    store.setValue(key, "Lines", kString, reinterpret_cast<const std::uint8_t *>("a\r\nb"), 5);
    store.setValue(key, "NoTerminator", kString, reinterpret_cast<const std::uint8_t *>("ab"), 2);
    store.setValue(key, "ShortDword", kDword, eightBit, 2);
    store.closeKey(key);
    const auto before = dump(store);
    for (const auto format : {RegFormat::Version5, RegFormat::Regedit4}) {
        const auto file = scratchFolder() / "round-trip.reg";
        ASSERT_FALSE(store.saveRegFile(file, format));
        const auto bytes = tollen::testing::readFile(file);
        if (format == RegFormat::Version5) {
            EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFEW\0", 4));
        } else {
            EXPECT_EQ(bytes.substr(0, 10), "REGEDIT4\r\n");
        }
        MemoryStore copy;
        const auto error = copy.loadRegFile(file);
        ASSERT_FALSE(error) << error.message;
        EXPECT_EQ(dump(copy), before);
    }
}

TEST(RegFile, RealExportInUtf16ReadsLikeTheRegistry)
{
    const EnvironmentOverride variable("TOLLEN_REGISTRY_TEST", "C:\\Windows");
    const std::string text =
        "Windows Registry Editor Version 5.00\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\e1000]\r\n"
        "\"DisplayName\"=\"Intel® PRO/1000\"\r\n"
        "\"ImagePath\"=hex(2):25,00,54,00,4f,00,4c,00,4c,00,45,00,4e,00,5f,00,52,00,45,00,\\\r\n"
        "  47,00,49,00,53,00,54,00,52,00,59,00,5f,00,54,00,45,00,53,00,54,00,25,00,5c,\\\r\n"
        "  00,65,00,2e,00,73,00,79,00,73,00,00,00\r\n"
        "\"Type\"=dword:00000001\r\n"
        "\"Group\"=hex(7):4e,00,44,00,49,00,53,00,00,00,00,00\r\n"
        "@=\"\"\r\n"
        "\"Odd\"=hex(1):61,00,62,00,00,00,ff\r\n";
    MemoryStore store;
    const auto error = store.loadRegText(utf16File(text));
    ASSERT_FALSE(error) << error.message;
    const std::string section = "SYSTEM\\CurrentControlSet\\Services\\e1000";
    EXPECT_EQ(read(store, section, "DisplayName"), TaggedValue(std::string("Intel® PRO/1000")));
    EXPECT_EQ(read(store, section, "ImagePath"), TaggedValue(std::string("C:\\Windows\\e.sys")));
    EXPECT_EQ(read(store, section, "Type"), TaggedValue(std::int32_t{1}));
    EXPECT_EQ(read(store, section, "Group"), TaggedValue(std::string("NDIS\0", 5)));
    EXPECT_EQ(read(store, section, ""), TaggedValue(std::string()));
    // Odd-length UTF-16 data loses only its dangling byte.
    EXPECT_EQ(read(store, section, "Odd"), TaggedValue(std::string("ab")));
}

TEST(RegFile, DeletionsRemoveKeysWithTheirSubkeysAndValues)
{
    auto store = makeStore("memory");
    auto &memory = dynamic_cast<MemoryStore &>(*store);
    ASSERT_FALSE(memory.loadRegText("Windows Registry Editor Version 5.00\r\n"
                                    "[-HKEY_LOCAL_MACHINE\\SYSTEM\\ControlSet002]\r\n"
                                    "[-HKEY_LOCAL_MACHINE\\SYSTEM\\NotThere]\r\n"
                                    "[-HKEY_LOCAL_MACHINE\\SYSTEM\\Names\\]\r\n"
                                    "; comment\r\n"
                                    "[HKEY_LOCAL_MACHINE\\SYSTEM\\Types]\r\n"
                                    "\"Text\"=-\r\n"
                                    "\"NotThere\"=-\r\n"
                                    "\"dw\"=dword:1F\r\n"
                                    "\"q\"=HEX(B):01,2\r\n"));
    EXPECT_EQ(subkeys(*store, kLocalMachine, "SYSTEM"),
              (std::vector<std::string>{"ControlSet001", "Select", "Types"}));
    EXPECT_TRUE(isEmpty(read(*store, "SYSTEM\\Types", "Text")));
    EXPECT_EQ(read(*store, "SYSTEM\\Types", "dw"), TaggedValue(std::int32_t{31}));
    EXPECT_EQ(read(*store, "SYSTEM\\Types", "q"), TaggedValue(ByteArray{1, 2}));
}

TEST(RegFile, MalformedFilesAreRefusedWholeNamingTheLine)
{
    const std::string header = "Windows Registry Editor Version 5.00\r\n\r\n[HKLM\\New]\r\n";
    const std::vector<std::pair<std::string, std::string>> rows{
        {"", "line 1:"},
        {"REGEDIT5\r\n", "line 1:"},
        {header + "\"a\"=\"x\"\r\n[HKLM\\B\r\n", "line 5:"},
        {header + "[HKEY_NOWHERE\\B]\r\n", "line 4:"},
        {header + "[-HKLM]\r\n", "line 4:"},
        {header + "[HKLM\\a\\\\b]\r\n", "line 4:"},
        {header + "[HKLM\\" + std::string(256, 'k') + "]\r\n", "line 4:"},
        {header + "[HKLM\\" + repeated("é", 256) + "]\r\n", "line 4:"},
        {header + "[HKLM\\" + repeated("😀", 128) + "]\r\n", "line 4:"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\" + std::string("\0B", 2) + "]\r\n", "line 2:"},
        {header + "[HKLM\\A" + std::string("\0", 1) + "]\r\n", "line 4:"},
        // A lone carriage return in a name: the store could not be saved again.
        {header + "[HKLM\\A\rB]\r\n", "line 4:"},
        {header + "\"a\rb\"=\"x\"\r\n", "line 4:"},
        {header + "\"a\"=\"unterminated\r\n", "line 4:"},
        {header + "[HKLM\\A] x\r\n", "line 4:"},
        {header + "\"a\"=\"x\" trailing\r\n", "line 4:"},
        {header + "\"a=\"x\"\r\n", "line 4:"},
        {header + "\"a\"\"x\"\r\n", "line 4:"},
        {header + "\"a\"=dword:123456789\r\n", "line 4:"},
        {header + "\"a\"=hex:01,2g\r\n", "line 4:"},
        {header + "\"a\"=hex:01,\r\n", "line 4:"},
        {header + "\"a\"=hex(zz):01\r\n", "line 4:"},
        {header + "\"a\"=hex(2:01\r\n", "line 4:"},
        {header + "\"a\"=hex:01,\\\r\n  02,\\\r\n", "line 4:"},
        {header + "\"a\"=hex:01,\\\r\n  02,\\\r\n  zz\r\n\"b\"=\"\"\r\n", "line 4:"},
        {header + "\"a\"=str:x\r\n", "line 4:"},
        {header + "garbage\r\n", "line 4:"},
        {"Windows Registry Editor Version 5.00\r\n\"a\"=\"x\"\r\n", "line 2:"},
        {header + "[-HKLM\\New]\r\n\"a\"=\"x\"\r\n", "line 5:"},
        {utf16File(header + "\"a\"=hex:zz\r\n"), "line 4:"},
        {utf16File(header) + "x", "line 1:"},
    };
    auto store = makeStore("memory");
    auto &memory = dynamic_cast<MemoryStore &>(*store);
    const auto before = dump(memory);
    for (const auto &[file, line] : rows) {
        const auto error = memory.loadRegText(file);
        EXPECT_TRUE(error) << file;
        EXPECT_EQ(error.message.rfind(line, 0), 0U) << file << " gave: " << error.message;
    }
    EXPECT_EQ(dump(memory), before);
}

TEST(RegFile, SavingTextThatIsNotUtf8As500IsRefusedAndKeepsTheOldFile)
{
    MemoryStore store;
    RegistryHandle key = 0;
    store.createKey(kLocalMachine, "A", key);
    const std::uint8_t latin1[] = {'c', 0xE9, 0};
    store.setValue(key, "v", kString, latin1, 3);
    store.closeKey(key);
    const auto file = scratchFolder() / "kept.reg";
    std::ofstream(file, std::ios::binary) << "old";
    const auto error = store.saveRegFile(file, RegFormat::Version5);
    EXPECT_TRUE(error);
    EXPECT_NE(error.message.find("REGEDIT4"), std::string::npos) << error.message;
    EXPECT_EQ(tollen::testing::readFile(file), "old");
    EXPECT_FALSE(store.saveRegFile(file, RegFormat::Regedit4));
    MemoryStore copy;
    ASSERT_FALSE(copy.loadRegFile(file));
    EXPECT_EQ(dump(copy), dump(store));
}

TEST(RegFile, WalksRefuseASubkeyThatLeadsBackToItsKey)
{
    LoopingStore store;
    ASSERT_FALSE(store.memory().loadRegText("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\\B]\r\n"));
    const auto text = writeRegFile(store, RegFormat::Regedit4);
    EXPECT_TRUE(text.error);
    EXPECT_NE(text.error.message.find("deeper than 512"), std::string::npos) << text.error.message;
}
