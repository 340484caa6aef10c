#include "inventory/DeviceScan.h"

#include "InventoryFixtures.h"

#include <gtest/gtest.h>

namespace tollen::inventory {
namespace {

using test::Rows;

TEST(DeviceScan, ReadsTheNtLayoutBusByBusFromTheFirstInstance)
{
    auto store = test::storeFromReg("nt-devices.reg");
    controls::ListView list;
    DeviceScan(*store, kNtLayout, list).ScanAll();
    const Rows expected = {
        {"HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662&SUBSYS_103C2AB0&REV_1001",
         "High Definition Audio Device"},
        // A device key without instances is read from the device key itself.
        {"PCI\\VEN_1022&DEV_7000", " read from its device key"},
        {"PCI\\VEN_10DE&DEV_0DE1&SUBSYS_00000000&REV_A1", "Display Adapter"},
        // Only the text after the first ";" of a resource reference; the second instance unread.
        {"PCI\\VEN_8086&DEV_1234&SUBSYS_00001234&REV_01", "Network Card"},
        // ROOT_HUB and ROOT_HUB20 are left out; a missing DeviceDesc gives an empty name.
        {"USB\\VID_046D&PID_C52B", "USB Input Device"},
        {"USB\\VID_0781&PID_5567", ""},
        {"ISAPNP\\ReadDataPort", "ISAPNP Read Data Port"},
    };
    EXPECT_EQ(test::rows(list), expected);
}

TEST(DeviceScan, ReadsTheWindows9xLayoutAndAddsUninstalledActiveNodes)
{
    auto store = test::storeFromReg("win9x-devices.reg");
    controls::ListView list;
    DeviceScan(*store, kWindows9xLayout, list).ScanAll();
    const Rows expected = {
        // A missing HardwareID leaves the bus and its backslash alone.
        {"PCI\\", "Unknown device"},
        // The first ID of the list, the bus prefix removed once per occurrence, ";" kept.
        {"PCI\\VEN_8086&DEV_7000&SUBSYS_00000000&REV_01", "Intel 82371SB PCI to ISA bridge; rev 1"},
        {"ISAPNP\\PNPB003", "Creative Game Port"},
        // Active nodes on a scanned bus whose Device ID no row has, each once; ROOT is not
        // scanned and a node without HardwareKey is passed over.
        {"PCI\\VEN_1234&DEV_0001", kUninstalledDeviceName},
        {"USB\\VID_05AC&PID_1000", kUninstalledDeviceName},
    };
    EXPECT_EQ(test::rows(list), expected);
}

TEST(DeviceScan, CollectsEachRowsDeviceWithItsWindows9xIdListAndDriver)
{
    auto store = test::storeFromReg("win9x-devices.reg");
    controls::ListView list;
    std::vector<Device> devices;
    DeviceScan scan(*store, kWindows9xLayout, list);
    scan.collectDevices(devices);
    scan.ScanAll();
    ASSERT_EQ(devices.size(), 5U);
    for (std::size_t i = 0; i < devices.size(); ++i) {
        EXPECT_EQ(devices[i].id, list.text(static_cast<int>(i) + 1));
        EXPECT_EQ(devices[i].name, list.subItem(static_cast<int>(i) + 1, 1));
    }
    // A comma-separated HardwareID; the Driver value's key under Services\Class.
    EXPECT_EQ(devices[1].hardwareIds,
              (std::vector<std::string>{"PCI\\VEN_8086&DEV_7000&SUBSYS_00000000&REV_01",
                                        "PCI\\VEN_8086&DEV_7000"}));
    EXPECT_EQ(devices[1].driver.status, DriverStatus::Ok);
    EXPECT_EQ(devices[1].driver.description, "Intel 82371SB PCI to ISA bridge");
    EXPECT_EQ(devices[1].driver.provider, "Microsoft");
    // ConfigFlags as four bytes holding 0x40; no Driver value; an uninstalled active node.
    EXPECT_EQ(devices[2].driver.status, DriverStatus::Problem);
    EXPECT_EQ(devices[0].driver.status, DriverStatus::None);
    EXPECT_EQ(devices[3].driver.status, DriverStatus::None);
    EXPECT_EQ(devices[3].hardwareIds, (std::vector<std::string>{"PCI\\VEN_1234&DEV_0001"}));
}

TEST(DeviceScan, NtLayoutSkipsTheActiveNodePass)
{
    auto store = test::storeFromReg("win9x-devices.reg");
    controls::ListView list;
    DeviceScan(*store, {"Enum\\", true}, list).ScanAll();
    for (const auto &[id, name] : test::rows(list)) {
        EXPECT_NE(name, kUninstalledDeviceName) << id;
    }
}

} // namespace
} // namespace tollen::inventory
