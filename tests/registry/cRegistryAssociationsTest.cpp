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

    void associateDoc(const std::string &exe = "t.exe")
    {
        m_registry.CreateEXEAssociation(exe, "Doc", "Document", "doc", "Show", false, "", false, "",
                                        false, "", -1);
    }

    MemoryStore m_store;
    cRegistry m_registry{m_store};
};

TaggedValue text(const std::string &value)
{
    return value;
}

} // namespace

TEST_F(cRegistryAssociations, EveryVerbIsWrittenUnderBothRoots)
{
    m_registry.CreateEXEAssociation("  C:\\Tools\\tollen.exe ", "Tollen.Profile", "Tollen profile",
                                    "hwp", "", true, "", true, "", true, "", 0);
    const std::string exe = "\"C:\\Tools\\tollen.exe\"";
    const std::string shell = "Tollen.Profile\\shell\\";
    const std::vector<std::pair<std::string, std::string>> rows{
        {".hwp", "Tollen.Profile"},
        {"Tollen.Profile", "Tollen profile"},
        {shell + "open", "&Open"},
        {shell + "open\\command", exe + " \"%1\""},
        {shell + "print\\command", exe + " /p \"%1\""},
        {shell + "add\\command", exe + " /a \"%1\""},
        {shell + "new\\command", exe + " /n \"%1\""},
        {"Tollen.Profile\\DefaultIcon", exe + ",0"},
    };
    for (const auto &[section, expected] : rows) {
        EXPECT_EQ(classValue(section), text(expected)) << section;
    }
    EXPECT_EQ(m_registry.SectionKey(), "Tollen.Profile\\DefaultIcon");
}

TEST_F(cRegistryAssociations, OptionalVerbsAndIconAreLeftOutAndPercentSignsMakeTextExpandable)
{
    associateDoc("%ProgramFiles%\\t.exe");
    EXPECT_EQ(classValue("Doc\\shell\\open"), text("Show"));
    // Stored as written: reading an expandable text expands it.
    EXPECT_EQ(storedValue(m_store, "Doc\\shell\\open\\command", "", kClassesRoot),
              (StoredValue{kExpandString, std::string("\"%ProgramFiles%\\t.exe\" \"%1\"\0", 28)}));
    EXPECT_EQ(m_registry.SectionKey(), "Doc\\shell\\open\\command");
    m_registry.setClassKey(static_cast<std::int32_t>(kClassesRoot));
    for (const auto *missing :
         {"Doc\\shell\\print", "Doc\\shell\\add", "Doc\\shell\\new", "Doc\\DefaultIcon"}) {
        m_registry.setSectionKey(missing);
        EXPECT_FALSE(m_registry.KeyExists()) << missing;
    }
}

TEST_F(cRegistryAssociations, AdditionalVerbsFollowAnExistingClassAndAFailedOneStopsNoOther)
{
    associateDoc();
    m_registry.CreateAdditionalEXEAssociations("Doc",
                                               {text("edit"), text("&Edit"), text("notepad \"%1\""),
                                                text("view"), std::int32_t{5}, text("viewer")});
    EXPECT_EQ(classValue("Doc\\shell\\edit"), text("&Edit"));
    EXPECT_EQ(classValue("Doc\\shell\\edit\\command"), text("notepad \"%1\""));
    EXPECT_EQ(classValue("Doc\\shell\\view"), text("5"));
    EXPECT_EQ(classValue("Doc\\shell\\view\\command"), text("viewer"));
    EXPECT_EQ(m_registry.SectionKey(), "Doc\\shell\\view\\command");

    const std::string tooLong(300, 'v');
    EXPECT_THROW(m_registry.CreateAdditionalEXEAssociations(
                     "Doc", {text("bad"), text(tooLong), text("x"), text(tooLong), text("t"),
                             text("c"), text("more"), text("&More"), text("m")}),
                 RegistryError);
    EXPECT_EQ(classValue("Doc\\shell\\bad"), text(tooLong));
    EXPECT_TRUE(isEmpty(classValue("Doc\\shell\\" + tooLong)));
    EXPECT_EQ(classValue("Doc\\shell\\more\\command"), text("m"));
    // A wrong number of items writes nothing.
    EXPECT_THROW(m_registry.CreateAdditionalEXEAssociations(
                     "Doc", {text("gone"), text("&Gone"), text("g"), text("view")}),
                 RegistryError);
    EXPECT_TRUE(isEmpty(classValue("Doc\\shell\\gone")));
}
