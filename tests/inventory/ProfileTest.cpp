#include "InventoryFixtures.h"
#include "controls/headless/HeadlessDialogs.h"
#include "inventory/DeviceRecords.h"
#include "inventory/ProfileCommands.h"
#include "inventory/ProfileFile.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

using Dialogs = controls::HeadlessDialogs;
using test::Rows;

Rows records(const std::string &text)
{
    Rows result;
    for (const auto &record : parseProfile(text)) {
        result.emplace_back(record.deviceId, record.deviceName);
    }
    return result;
}

struct LineCase
{
    const char *what;
    std::string text;
    Rows expected;
};

TEST(ProfileFile, ReadsLinesEndedByCrOrCrLfAndUpperCasesDeviceIds)
{
    const LineCase cases[] = {
        {"empty file", "", {}},
        {"two records",
         "pci\\ven_1\r\nNet Card\r\nUSB\\VID_2\r\nMouse\r\n",
         {{"PCI\\VEN_1", "Net Card"}, {"USB\\VID_2", "Mouse"}}},
        {"CR alone ends a line", "a\rb\rc\rd", {{"A", "b"}, {"C", "d"}}},
        {"last line without an end", "a\r\nname", {{"A", "name"}}},
        {"odd line count", "a\r\nb\r\nc\r\n", {{"A", "b"}, {"C", ""}}},
        {"blank first line", "\r\nSecond\r\n", {{"", "Second"}}},
        {"lone LF stays in the text", "a\nb\nc\n", {{"A\nB\nC\n", ""}}},
        {"one extra empty line", "a\r\nb\r\n\r\n", {{"A", "b"}, {"", ""}}},
        {"Latin-1 letters upper-cased",
         "pci\\caf\xC3\xA9\r\ncaf\xC3\xA9\r\n",
         {{"PCI\\CAF\xC3\x89", "caf\xC3\xA9"}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(records(c.text), c.expected);
    }
}

class ProfileCommandsTest : public ::testing::Test
{
protected:
    test::ScratchFolder m_folder;
    controls::ListView m_list;
    Dialogs m_dialogs;
};

TEST_F(ProfileCommandsTest, SavesTwoCrLfLinesPerRowAndLoadsThemBackWithUpperCasedIds)
{
    AddDeviceRecord(m_list, "PCI\\Ven_8086&Dev_1234", "Network Card");
    AddDeviceRecord(m_list, "USB\\VID_046D&PID_C52B", "");
    const auto file = m_folder.path() / "machine.hwp";
    m_dialogs.script(Dialogs::FileAnswer{file.string()});
    SaveProfile(m_list, m_dialogs);
    EXPECT_EQ(test::readFile(file),
              "PCI\\Ven_8086&Dev_1234\r\nNetwork Card\r\nUSB\\VID_046D&PID_C52B\r\n\r\n");

    controls::ListView loaded;
    AddDeviceRecord(loaded, "OLD\\ROW", "gone");
    m_dialogs.script(Dialogs::FileAnswer{file.string()});
    LoadProfile(loaded, m_dialogs);
    EXPECT_EQ(test::rows(loaded),
              (Rows{{"PCI\\VEN_8086&DEV_1234", "Network Card"}, {"USB\\VID_046D&PID_C52B", ""}}));
    EXPECT_EQ(loaded.selectedRow(), 0);
}

TEST_F(ProfileCommandsTest, CancelledDialogsChangeNothingAndSayNothing)
{
    AddDeviceRecord(m_list, "PCI\\VEN_1", "one");
    SaveProfile(m_list, m_dialogs);
    LoadProfile(m_list, m_dialogs);
    EXPECT_EQ(m_dialogs.questions().size(), 2U);
    EXPECT_EQ(m_list.rowCount(), 1);
    EXPECT_TRUE(std::filesystem::is_empty(m_folder.path()));
}

TEST_F(ProfileCommandsTest, AFailedSaveIsToldAndLeavesNothingBehind)
{
    AddDeviceRecord(m_list, "PCI\\VEN_1", "one");
    // A folder stands where the profile should go: the finished file cannot replace it.
    const auto file = m_folder.path() / "taken.hwp";
    std::filesystem::create_directories(file / "inside");
    for (const auto &target : {file, m_folder.path() / "no-such-folder" / "x.hwp"}) {
        m_dialogs.forgetQuestions();
        m_dialogs.script(Dialogs::FileAnswer{target.string()});
        SaveProfile(m_list, m_dialogs);
        ASSERT_EQ(m_dialogs.questions().size(), 2U);
        EXPECT_EQ(m_dialogs.questions()[1].text.rfind("Error saving profile: ", 0), 0U);
    }
    EXPECT_TRUE(std::filesystem::is_directory(file / "inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ProfileCommandsTest, CommandTailThatCannotBeReadShowsBothMessages)
{
    EXPECT_TRUE(LoadCommandTailProfile("", m_list, m_dialogs));
    EXPECT_TRUE(m_dialogs.questions().empty());

    const std::string tail = "\"" + (m_folder.path() / "missing file.hwp").string() + "\"";
    EXPECT_FALSE(LoadCommandTailProfile(tail, m_list, m_dialogs));
    ASSERT_EQ(m_dialogs.questions().size(), 2U);
    EXPECT_EQ(m_dialogs.questions()[0].text, "Error opening file");
    EXPECT_EQ(m_dialogs.questions()[1].text, "Error loading specified profile: " + tail);
}

} // namespace
} // namespace tollen::inventory
