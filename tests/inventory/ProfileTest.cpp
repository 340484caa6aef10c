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

TEST(ProfileFile, WritesTwoCrLfLinesPerRowAndNothingForAnEmptyList)
{
    controls::ListView list;
    EXPECT_EQ(formatProfile(list), "");
    AddDeviceRecord(list, "PCI\\VEN_8086&DEV_1234", "Network Card");
    AddDeviceRecord(list, "USB\\VID_046D&PID_C52B", "");
    AddDeviceRecord(list, "ACPI\\PNP0A03", "PCI bus");
    EXPECT_EQ(formatProfile(list), "PCI\\VEN_8086&DEV_1234\r\nNetwork Card\r\n"
                                   "USB\\VID_046D&PID_C52B\r\n\r\n"
                                   "ACPI\\PNP0A03\r\nPCI bus\r\n");
}

class ProfileCommandsTest : public ::testing::Test
{
protected:
    test::ScratchFolder m_folder;
    controls::ListView m_list;
    Dialogs m_dialogs;
};

TEST_F(ProfileCommandsTest, SaveThenLoadGivesTheSameRowsWithUpperCasedIds)
{
    AddDeviceRecord(m_list, "PCI\\Ven_8086&Dev_1234", "Network Card");
    AddDeviceRecord(m_list, "USB\\VID_046D&PID_C52B", "");
    const auto file = m_folder.path() / "machine.hwp";
    m_dialogs.script(Dialogs::FileAnswer{file.string()});
    SaveProfile(m_list, m_dialogs);

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
        EXPECT_EQ(m_dialogs.questions()[1].title, "Error");
        EXPECT_EQ(m_dialogs.questions()[1].buttons, controls::MessageButtons::OkStop);
    }
    EXPECT_TRUE(std::filesystem::is_directory(file / "inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(ProfileCommandsTest, BadInputLoadsWithoutACrashAndBinaryDataIsRefused)
{
    std::string garbage;
    for (int i = 0; i < 70000; ++i) {
        garbage += static_cast<char>((i * 131) % 256);
    }
    std::string many;
    for (int i = 0; i < 5000; ++i) {
        many += "pci\\ven_" + std::to_string(i) + "\r\nname " + std::to_string(i) + "\r\n";
    }
    const std::string longLine(1 << 20, 'x');
    const auto file = m_folder.path() / "odd.hwp";
    const std::pair<std::string, int> texts[] = {{many, 5000}, {longLine + "\r\n" + longLine, 1}};
    for (const auto &[bytes, expectedRows] : texts) {
        test::writeFile(file, bytes);
        EXPECT_TRUE(ReadProfile(file.string(), m_list, m_dialogs));
        EXPECT_EQ(m_list.rowCount(), expectedRows);
    }
    EXPECT_EQ(m_list.text(1).size(), longLine.size());
    EXPECT_TRUE(m_dialogs.questions().empty());

    // Bytes no profile holds are not shown as devices: the box says so, the rows stay.
    test::writeFile(file, garbage);
    EXPECT_FALSE(ReadProfile(file.string(), m_list, m_dialogs));
    EXPECT_EQ(m_list.rowCount(), 1);
    ASSERT_EQ(m_dialogs.questions().size(), 1U);
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
    EXPECT_EQ(m_dialogs.questions()[1].buttons, controls::MessageButtons::OkStop);
    EXPECT_EQ(m_dialogs.questions()[1].title, "Error");
}

} // namespace
} // namespace tollen::inventory
