#include "inventory/DeviceListSource.h"

#include "InventoryFixtures.h"
#include "controls/headless/HeadlessDialogs.h"
#include "inventory/ProfileCommands.h"

#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

using test::Rows;

std::string utf16le(const std::string &ascii)
{
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

TEST(DeviceListSource, RecognisesHivesAndExportsByTheirContent)
{
    const std::pair<std::string, DeviceListKind> cases[] = {
        {std::string("regf\x01\0\0\0", 8), DeviceListKind::Hive},
        {"Windows Registry Editor Version 5.00\r\n\r\n[HKEY", DeviceListKind::RegExport},
        {"\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n", DeviceListKind::RegExport},
        {utf16le("Windows Registry Editor Version 5.00\r\n"), DeviceListKind::RegExport},
        {"REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Enum]", DeviceListKind::RegExport},
        {"REGEDIT4", DeviceListKind::RegExport},
        // A profile whose first Device ID merely starts like an export is still a profile.
        {"REGEDIT4\\DEVICE\r\nname\r\n", DeviceListKind::Profile},
        {"PCI\\VEN_8086&DEV_1234\r\nNetwork Card\r\n", DeviceListKind::Profile},
        {"", DeviceListKind::Profile},
        {"reg", DeviceListKind::Profile},
        {utf16le("PCI\\VEN_1"), DeviceListKind::Profile},
    };
    for (const auto &[head, kind] : cases) {
        SCOPED_TRACE(head);
        EXPECT_EQ(recogniseDeviceList(head), kind);
    }
}

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

class DeviceListLoadTest : public ::testing::Test
{
protected:
    Rows load(const std::filesystem::path &file)
    {
        m_list.clear();
        EXPECT_TRUE(ReadProfile(file.string(), m_list, m_dialogs));
        return test::rows(m_list);
    }

    test::ScratchFolder m_folder;
    controls::ListView m_list;
    controls::HeadlessDialogs m_dialogs;
};

const Rows kHiveRows = {
    {"PCI\\VEN_1AF4&DEV_1041&SUBSYS_11001AF4&REV_00", "Red Hat VirtIO Ethernet Adapter"},
    {"USB\\VID_0627&PID_0001", "USB Input Device"},
};

TEST_F(DeviceListLoadTest, ARegExportReplacesTheRowsWithItsScannedDevices)
{
    const Rows nt = load(test::fixture("nt-devices.reg"));
    ASSERT_EQ(nt.size(), 7U);
    EXPECT_EQ(nt[3], (std::pair<std::string, std::string>{
                         "PCI\\VEN_8086&DEV_1234&SUBSYS_00001234&REV_01", "Network Card"}));

    // Windows 95/98/ME exports are scanned in their own layout, active nodes included.
    const Rows old = load(test::fixture("win9x-devices.reg"));
    ASSERT_EQ(old.size(), 5U);
    EXPECT_EQ(old[4].second, kUninstalledDeviceName);

    // Exported from a mounted SYSTEM hive: UTF-16LE, the control set named by Select\Current.
    const auto exported = m_folder.path() / "system.reg";
    const std::string text = test::readFile(test::fixture("hive-system.reg"));
    test::writeFile(exported, utf16le(text));
    EXPECT_EQ(load(exported), kHiveRows);

    // Exports of part of a hive: no Select key, also with the hive as regedit loads it, under a
    // key the user names, and as hivexregedit writes it without a prefix ("[\\ControlSet001]").
    const std::string noSelect = replaceAll(
        text, "[HKEY_LOCAL_MACHINE\\SYSTEM\\Select]\r\n\"Current\"=dword:00000001\r\n", "");
    ASSERT_NE(noSelect, text);
    const std::string fromHiveRoot =
        replaceAll(replaceAll(noSelect, "[HKEY_LOCAL_MACHINE\\SYSTEM]", "[\\]"),
                   "HKEY_LOCAL_MACHINE\\SYSTEM", "");
    for (const std::string &part :
         {noSelect, replaceAll(noSelect, "\\SYSTEM", "\\OFFLINE"), fromHiveRoot}) {
        test::writeFile(exported, part);
        EXPECT_EQ(load(exported), kHiveRows) << part;
    }
    EXPECT_TRUE(m_dialogs.questions().empty());
}

TEST_F(DeviceListLoadTest, AFileThatCannotBeUsedGivesErrorOpeningFileAndKeepsTheRows)
{
    const std::pair<const char *, std::string> cases[] = {
        {"binary data", std::string("PCI\\VEN_1\r\n\0\x01\x02\xFF\r\n", 17)},
        {"an escape sequence", "PCI\\VEN_1\r\n\x1B[2JName\r\n"},
        {"malformed", "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\X\r\n"
                      "\"a\"=dword:zz\r\n"},
        {"no device tree", "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tollen]\r\n"},
        {"truncated hive", std::string("regf\0\0\0\0garbage", 15)},
    };
    for (const auto &[what, bytes] : cases) {
        SCOPED_TRACE(what);
        m_list.clear();
        m_list.addRow("KEPT");
        const auto file = m_folder.path() / "bad.reg";
        test::writeFile(file, bytes);
        m_dialogs.forgetQuestions();
        EXPECT_FALSE(ReadProfile(file.string(), m_list, m_dialogs));
        ASSERT_EQ(m_dialogs.questions().size(), 1U);
        EXPECT_EQ(m_dialogs.questions()[0].text, "Error opening file");
        EXPECT_EQ(test::rows(m_list), (Rows{{"KEPT", ""}}));
    }
}

} // namespace
} // namespace tollen::inventory
