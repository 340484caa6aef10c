#include "inventory/BuildCriteria.h"

#include "inventory/DeviceRecords.h"

#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

struct CriteriaCase
{
    std::string deviceId;
    std::vector<std::string> entries;
    int selected;
};

TEST(BuildCriteria, ListsGrowingPrefixesAndPreselectsByBus)
{
    const CriteriaCase cases[] = {
        {"PCI\\VEN_8086&DEV_1234&SUBSYS_00001234&REV_01",
         {"PCI\\VEN_8086", "PCI\\VEN_8086&DEV_1234", "PCI\\VEN_8086&DEV_1234&SUBSYS_00001234",
          "PCI\\VEN_8086&DEV_1234&SUBSYS_00001234&REV_01"},
         1},
        {"HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C2AB0&REV_1001",
         {"HDAUDIO\\FUNC_01", "HDAUDIO\\FUNC_01&VEN_10EC", "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662",
          "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C2AB0",
          "HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C2AB0&REV_1001"},
         2},
        {"USB\\VID_046D&PID_C52B", {"USB\\VID_046D", "USB\\VID_046D&PID_C52B"}, 1},
        // Rules that name a missing entry leave entry 0 selected.
        {"PCI\\VEN_8086", {"PCI\\VEN_8086"}, 0},
        {"HDAUDIO\\FUNC_01&VEN_10EC", {"HDAUDIO\\FUNC_01", "HDAUDIO\\FUNC_01&VEN_10EC"}, 0},
        {"PCI\\VEN_1&", {"PCI\\VEN_1&"}, 0},
        // ISAPNP is never cut, even with "&" in its ID.
        {"ISAPNP\\CTL&0031", {"ISAPNP\\CTL&0031"}, 0},
        // Letter case is kept and the bus compares exactly.
        {"pci\\ven_1&dev_2", {"pci\\ven_1", "pci\\ven_1&dev_2"}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.deviceId);
        controls::ListView list;
        controls::ListBox criteria;
        AddDeviceRecord(list, "USB\\FIRST", "");
        AddDeviceRecord(list, c.deviceId, "name");
        list.selectRow(2);
        BuildCriteria(list, criteria);
        EXPECT_EQ(criteria.items(), c.entries);
        EXPECT_EQ(criteria.selectedIndex(), c.selected);
    }
}

TEST(BuildCriteria, RebuildsFromScratchAndEmptiesWithoutASelectedRow)
{
    controls::ListView list;
    controls::ListBox criteria;
    AddDeviceRecord(list, "USB\\VID_046D&PID_C52B", "");
    list.selectRow(1);
    BuildCriteria(list, criteria);
    BuildCriteria(list, criteria);
    EXPECT_EQ(criteria.count(), 2);

    list.clear();
    BuildCriteria(list, criteria);
    EXPECT_EQ(criteria.count(), 0);
    EXPECT_EQ(criteria.selectedIndex(), -1);
}

TEST(DeviceRecords, ListSetUpGivesTheDeviceIdTwiceTheNameWidthAndResultsFullRowSelection)
{
    controls::ListView devices;
    devices.setGeometry({0, 0, 6000, 2000});
    SetUpListView1(devices);
    ASSERT_EQ(devices.columnCount(), 2);
    EXPECT_DOUBLE_EQ(devices.column(1).width, 3960);
    EXPECT_DOUBLE_EQ(devices.column(2).width, 1980);
    EXPECT_TRUE(devices.isReportView());
    controls::ListView results;
    results.setExtendedStyle(0x1);
    SetUpListView2(results);
    EXPECT_EQ(results.columnCount(), 9);
    EXPECT_EQ(results.extendedStyle(), 0x21U);
}

TEST(DeviceRecords, AddUniqueItemIgnoresLetterCaseAndKeepsTheNewTextsCase)
{
    controls::ListBox list;
    AddUniqueItem("SUBSYS_00001234", list);
    AddUniqueItem("subsys_00001234", list);
    AddUniqueItem("Rev_01", list);
    EXPECT_EQ(list.items(), (std::vector<std::string>{"SUBSYS_00001234", "Rev_01"}));
}

} // namespace
} // namespace tollen::inventory
