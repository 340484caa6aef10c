#include "RegistryTestStores.h"
#include "registry/RegistryError.h"
#include "registry/cRegistry.h"

using namespace tollen;
using namespace tollen::registry;
using namespace tollen::registry::testing;

namespace {

class cRegistryAssociations : public ::testing::Test
{
protected:
    /// The default value of `section` under HKEY_CLASSES_ROOT, after checking that
    /// HKEY_LOCAL_MACHINE\SOFTWARE\Classes holds the same.
    TaggedValue classValue(const std::string &section)
    {
        cRegistry reader(m_store);
        const auto local =
            reader.ValueEx(kLocalMachineKey, "SOFTWARE\\Classes\\" + section, "", 0, {});
        const auto root =
            reader.ValueEx(static_cast<std::int32_t>(kClassesRoot), section, "", 0, {});
        EXPECT_EQ(local, root) << section;
        return root;
    }

    bool classKeyExists(const std::string &section)
    {
        cRegistry reader(m_store);
        reader.setClassKey(static_cast<std::int32_t>(kClassesRoot));
        reader.setSectionKey(section);
        return reader.KeyExists();
    }

    MemoryStore m_store;
    cRegistry m_registry{m_store};
};

TaggedValue text(const char *value)
{
    return std::string(value);
}

} // namespace

TEST_F(cRegistryAssociations, EveryVerbIsWrittenUnderBothRoots)
{
    m_registry.CreateEXEAssociation("  C:\\Tools\\tollen.exe ", "Tollen.Profile", "Tollen profile",
                                    "hwp", "", true, "", true, "", true, "", 0);
    const std::string exe = "\"C:\\Tools\\tollen.exe\"";
    const std::vector<std::pair<std::string, TaggedValue>> rows{
        {".hwp", text("Tollen.Profile")},
        {"Tollen.Profile", text("Tollen profile")},
        {"Tollen.Profile\\shell\\open", text("&Open")},
        {"Tollen.Profile\\shell\\open\\command", exe + " \"%1\""},
        {"Tollen.Profile\\shell\\print", text("&Print")},
        {"Tollen.Profile\\shell\\print\\command", exe + " /p \"%1\""},
        {"Tollen.Profile\\shell\\add", text("&Install hwp")},
        {"Tollen.Profile\\shell\\add\\command", exe + " /a \"%1\""},
        {"Tollen.Profile\\shell\\new", text("&New")},
        {"Tollen.Profile\\shell\\new\\command", exe + " /n \"%1\""},
        {"Tollen.Profile\\DefaultIcon", exe + ",0"},
    };
    for (const auto &[section, expected] : rows) {
        EXPECT_EQ(classValue(section), expected) << section;
    }
    EXPECT_EQ(m_registry.ClassKey(), kLocalMachineKey);
    EXPECT_EQ(m_registry.SectionKey(), "Tollen.Profile\\DefaultIcon");
    EXPECT_EQ(m_registry.ValueKey(), "");
    EXPECT_EQ(m_registry.ValueType(), 1);
}

TEST_F(cRegistryAssociations, OptionalVerbsAndIconAreLeftOutWhenNotAsked)
{
    m_registry.CreateEXEAssociation("\"/opt/tollen/tollen\"", "Doc", "Document", "doc", "Show",
                                    false, "", false, "", false, "", -1);
    EXPECT_EQ(classValue("Doc\\shell\\open"), text("Show"));
    EXPECT_EQ(classValue("Doc\\shell\\open\\command"), text("\"/opt/tollen/tollen\" \"%1\""));
    for (const auto *missing :
         {"Doc\\shell\\print", "Doc\\shell\\add", "Doc\\shell\\new", "Doc\\DefaultIcon"}) {
        EXPECT_FALSE(classKeyExists(missing)) << missing;
    }
    EXPECT_EQ(m_registry.SectionKey(), "Doc\\shell\\open\\command");
}

TEST_F(cRegistryAssociations, CommandsWithTwoPercentSignsAreStoredExpandable)
{
    m_registry.CreateEXEAssociation("%ProgramFiles%\\t.exe", "Doc", "Document", "doc", "", false,
                                    "", false, "", false, "", -1);
    RegistryHandle key = 0;
    ASSERT_EQ(m_store.openKey(kClassesRoot, "Doc\\shell\\open\\command", kQueryValueAccess, key),
              kSuccess);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    EXPECT_EQ(m_store.queryValue(key, "", type, nullptr, size), kSuccess);
    EXPECT_EQ(type, kExpandString);
    m_store.closeKey(key);
}

TEST_F(cRegistryAssociations, AdditionalVerbsFollowAnExistingClass)
{
    m_registry.CreateEXEAssociation("t.exe", "Doc", "Document", "doc", "", false, "", false, "",
                                    false, "", -1);
    m_registry.CreateAdditionalEXEAssociations("Doc",
                                               {text("edit"), text("&Edit"), text("notepad \"%1\""),
                                                text("view"), std::int32_t{5}, text("viewer")});
    EXPECT_EQ(classValue("Doc\\shell\\edit"), text("&Edit"));
    EXPECT_EQ(classValue("Doc\\shell\\edit\\command"), text("notepad \"%1\""));
    EXPECT_EQ(classValue("Doc\\shell\\view"), text("5"));
    EXPECT_EQ(classValue("Doc\\shell\\view\\command"), text("viewer"));
    EXPECT_EQ(m_registry.SectionKey(), "Doc\\shell\\view\\command");
}

TEST_F(cRegistryAssociations, AWrongItemCountWritesNothing)
{
    m_registry.CreateEXEAssociation("t.exe", "Doc", "Document", "doc", "", false, "", false, "",
                                    false, "", -1);
    EXPECT_THROW(m_registry.CreateAdditionalEXEAssociations(
                     "Doc", {text("edit"), text("&Edit"), text("e"), text("view")}),
                 RegistryError);
    EXPECT_FALSE(classKeyExists("Doc\\shell\\edit"));
}

TEST_F(cRegistryAssociations, AFailedVerbDoesNotStopTheOthersAndIsReported)
{
    m_registry.CreateEXEAssociation("t.exe", "Doc", "Document", "doc", "", false, "", false, "",
                                    false, "", -1);
    const std::string tooLong(300, 'v');
    EXPECT_THROW(m_registry.CreateAdditionalEXEAssociations(
                     "Doc", {text("bad"), text(tooLong.c_str()), text("x"), text(tooLong.c_str()),
                             text("t"), text("c"), text("edit"), text("&Edit"), text("e")}),
                 RegistryError);
    EXPECT_EQ(classValue("Doc\\shell\\bad"), text(tooLong.c_str()));
    EXPECT_FALSE(classKeyExists("Doc\\shell\\" + tooLong));
    EXPECT_EQ(classValue("Doc\\shell\\edit\\command"), text("e"));
}
